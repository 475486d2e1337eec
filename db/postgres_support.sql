-- What the server engine relies on in every database that holds a store:
-- the change counter, the Russian sort keys, the last key of a connection and
-- the key counters that follow stored keys. Run before the schema of every
-- store that is created, so it is written to run twice (both stores may share
-- one database).

-- Every committed change bumps one counter, so a program that keeps rows for
-- reuse learns from one small read whether any computer changed anything.
CREATE TABLE IF NOT EXISTS frostpick_change (
    id integer PRIMARY KEY CHECK (id = 1),
    counter bigint NOT NULL
);
INSERT INTO frostpick_change (id, counter) VALUES (1, 0) ON CONFLICT (id) DO NOTHING;
-- Every write of the programs also stores a token of its attempt, so that a
-- program whose COMMIT went unanswered learns from it whether it was stored.
CREATE TABLE IF NOT EXISTS frostpick_write (
    token text PRIMARY KEY,
    written bigint NOT NULL
);
-- Runs before a statement touches any row, so every writer takes the counter's
-- row lock first and writers never wait for each other in a circle.
CREATE OR REPLACE FUNCTION frostpick_count_change() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    UPDATE frostpick_change SET counter = counter + 1;
    RETURN NULL;
END
$$;
-- Sort keys of the Russian order: case folded and ё read as е, then the
-- exact text; compared byte by byte (UTF-8), which is code point order.
-- Numbers sort as themselves.
CREATE OR REPLACE FUNCTION frostpick_order(text) RETURNS bytea LANGUAGE sql STABLE STRICT PARALLEL SAFE AS $$
    SELECT textsend(translate(lower($1 COLLATE "und-x-icu"), 'ё', 'е') || chr(1) || $1)
$$;
CREATE OR REPLACE FUNCTION frostpick_order(bigint) RETURNS bigint LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
    'SELECT $1';
CREATE OR REPLACE FUNCTION frostpick_order(integer) RETURNS integer LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
    'SELECT $1';
CREATE OR REPLACE FUNCTION frostpick_order(double precision) RETURNS double precision LANGUAGE sql IMMUTABLE
    PARALLEL SAFE AS 'SELECT $1';
CREATE OR REPLACE FUNCTION frostpick_order(numeric) RETURNS numeric LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
    'SELECT $1';
-- The key the last insert on this connection generated, 0 before the first:
-- never an error, which would end the caller's transaction.
CREATE OR REPLACE FUNCTION frostpick_last_key() RETURNS bigint LANGUAGE plpgsql AS $$
BEGIN
    RETURN lastval();
EXCEPTION WHEN object_not_in_prerequisite_state THEN
    RETURN 0;
END
$$;
-- A row stored with a key of its own (a copy, another tool) moves the key
-- counter past it, so that the next new row continues after the largest key,
-- as in the file store, and never runs into a stored one.
CREATE OR REPLACE FUNCTION frostpick_follow_key() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER
    SET search_path FROM CURRENT AS $$
DECLARE
    counter regclass := pg_get_serial_sequence(
        quote_ident(TG_TABLE_SCHEMA) || '.' || quote_ident(TG_TABLE_NAME), 'pkey')::regclass;
    next_key bigint;
    used boolean;
BEGIN
    -- A key the counter gave (the usual case) is never above its last value.
    IF NEW.pkey <= coalesce(pg_sequence_last_value(counter), 0) THEN
        RETURN NEW;
    END IF;
    EXECUTE format('SELECT last_value, is_called FROM %s', counter) INTO next_key, used;
    IF used THEN
        next_key := next_key + 1;
    END IF;
    -- Set as not yet given out, so that lastval() keeps naming this
    -- connection's own last new row.
    IF NEW.pkey >= next_key THEN
        PERFORM setval(counter, NEW.pkey + 1, false);
    END IF;
    RETURN NEW;
END
$$;
