-- Orders database order.mdb: customers and their saved calculations.

CREATE TABLE contact (
    pkey INTEGER PRIMARY KEY AUTOINCREMENT,
    organization TEXT,
    city TEXT,
    phones TEXT,
    email TEXT,
    name TEXT
);

CREATE TABLE data (
    pkey INTEGER PRIMARY KEY AUTOINCREMENT,
    xk_bulk REAL,
    xk_length REAL,
    xk_width REAL,
    xk_height REAL,
    xk_ceiling INTEGER,
    xk_ceiling_stuff INTEGER,
    xk_wall INTEGER,
    xk_wall_stuff INTEGER,
    xk_floor INTEGER,
    xk_floor_stuff INTEGER,
    xk_doors REAL,
    xk_doors_open REAL,
    xk_curtain INTEGER,
    xk_temperature REAL,
    xk_people REAL,
    xk_heat INTEGER,
    by_temperature REAL,
    by_moisture INTEGER,
    by_ground REAL,
    px_product INTEGER,
    px_time INTEGER,
    px_start_t INTEGER,
    px_end_t INTEGER,
    px_weight REAL,
    px_turnover INTEGER,
    px_packing INTEGER,
    xo_type1 INTEGER,
    xo_type2 INTEGER,
    xo_count INTEGER,
    xo_power INTEGER,
    xo_work INTEGER,
    contact INTEGER,
    odate TEXT,
    onote TEXT,
    px_pgroup INTEGER
);

CREATE INDEX data_contact ON data (contact);

-- The second opinion's assumptions of a saved calculation, keyed by its data
-- row; a calculation without a row takes the defaults. Deleted with the row.
CREATE TABLE second_opinion (
    data_pkey INTEGER PRIMARY KEY,
    door_height REAL,
    chamber_humidity REAL,
    fans REAL,
    defrost REAL
);

CREATE TRIGGER data_deleted_second_opinion AFTER DELETE ON data
BEGIN
    DELETE FROM second_opinion WHERE data_pkey = OLD.pkey;
END;

-- Offers: saved calculations of one customer gathered into one summary, in
-- the order of position. A calculation deleted since keeps its offer row and
-- shows as missing. Deleting an offer deletes its rows.
CREATE TABLE offer (
    pkey INTEGER PRIMARY KEY AUTOINCREMENT,
    contact INTEGER,
    name TEXT,
    odate TEXT
);

CREATE INDEX offer_contact ON offer (contact);

CREATE TABLE offer_row (
    pkey INTEGER PRIMARY KEY AUTOINCREMENT,
    offer INTEGER,
    data_pkey INTEGER,
    position INTEGER
);

CREATE INDEX offer_row_offer ON offer_row (offer);

CREATE TRIGGER offer_deleted_rows AFTER DELETE ON offer
BEGIN
    DELETE FROM offer_row WHERE offer = OLD.pkey;
END;
