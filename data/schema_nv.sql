-- Reference database nv.mdb. Keys are assigned by the database and never
-- reused. Product keeps its columns in this stored order: the wizard reads a
-- product with SELECT * and takes the values by position (0 key, 1-3 names,
-- 3 being the name carried into the report, 4-12 properties, 13 group).

CREATE TABLE article (
    Pkey INTEGER PRIMARY KEY AUTOINCREMENT,
    s_name TEXT,
    s_value REAL,
    cls_n INTEGER
);

CREATE TABLE curtain (
    Pkey INTEGER PRIMARY KEY AUTOINCREMENT,
    text_ru TEXT,
    c_value REAL
);

CREATE TABLE packing (
    Pkey INTEGER PRIMARY KEY AUTOINCREMENT,
    text_ru TEXT,
    mass REAL,
    thermal REAL
);

CREATE TABLE PGroup (
    Pkey INTEGER PRIMARY KEY AUTOINCREMENT,
    text_ru TEXT
);

CREATE TABLE Product (
    pkey INTEGER PRIMARY KEY AUTOINCREMENT,
    text_en TEXT,
    text_it TEXT,
    text_ru TEXT,
    co REAL,
    cz REAL,
    cwr REAL,
    tko REAL,
    tnz REAL,
    td0 REAL,
    td2 REAL,
    td5 REAL,
    td15 REAL,
    fkey INTEGER
);

CREATE TABLE gas (
    pkey INTEGER PRIMARY KEY AUTOINCREMENT,
    model TEXT
);

CREATE TABLE equipment (
    Pkey INTEGER PRIMARY KEY AUTOINCREMENT,
    text_ru TEXT,
    model TEXT,
    picture TEXT,
    scheme TEXT
);

-- NUMERIC keeps whole modifications and temperatures whole (60, not 60.0).
CREATE TABLE power (
    pkey INTEGER PRIMARY KEY AUTOINCREMENT,
    model TEXT,
    modification NUMERIC,
    in_t NUMERIC,
    out_t NUMERIC,
    power REAL,
    fkey INTEGER
);

CREATE INDEX product_group ON Product (fkey);
CREATE INDEX power_model ON power (model, out_t, modification);

-- The equipment screen offers exactly these two refrigerants with these keys.
INSERT INTO gas (pkey, model) VALUES (1, 'R22');
INSERT INTO gas (pkey, model) VALUES (2, 'R404a');
