#!/usr/bin/env python3
"""Writes data/sample_nv.sql, the sample reference data.

Product properties are kept here in the units of the published food tables
(kJ/(kg*K), kJ/kg, mW/kg) and converted to the kcal and W/kg units the
database uses, so a reviewer can compare them with the source tables.
The capacity table is computed from a simple unit model (see capacity()).

Usage: scripts/gen_sample_nv.py > data/sample_nv.sql
"""
import math

KJ_PER_KCAL = 4.1868


def text(value):
    return "'" + value.replace("'", "''") + "'"


def number(value):
    return repr(value) if isinstance(value, float) else str(value)


def insert(table, columns, rows):
    lines = []
    for row in rows:
        values = ", ".join(text(v) if isinstance(v, str) else number(v) for v in row)
        lines.append("INSERT INTO %s (%s) VALUES (%s);" % (table, ", ".join(columns), values))
    return "\n".join(lines)


# Design conductivities of insulation and building materials, W/(m*K), as in
# the usual building-physics tables of material properties.
ARTICLES = [
    ("пенополиуретан панели", 0.022, 1),
    ("пенополиуретан напыляемый", 0.025, 1),
    ("пенополистирол", 0.038, 1),
    ("экструдированный пенополистирол", 0.030, 1),
    ("минеральная вата", 0.042, 1),
    ("стекловата", 0.040, 1),
    ("пеностекло", 0.045, 1),
    ("пробковая плита", 0.045, 1),
    ("газобетон D400", 0.12, 1),
    ("кирпич керамический полнотелый", 0.56, 1),
    # Structural material kept under another class; never offered as insulation.
    ("железобетон", 1.69, 2),
]

# Reduction of the cold lost through an open door, %, typical manufacturer
# figures for strip and air curtains.
CURTAINS = [
    ("нет", 0),
    ("ленточная ПВХ-завеса", 85),
    ("воздушная завеса", 65),
    ("ПВХ-завеса и воздушная завеса", 90),
]

# Packing: mass in % of the product mass (typical tare shares) and specific
# heat of the packing material from material property tables, kJ/(kg*K).
PACKINGS = [
    ("без упаковки", 0, 0.0),
    ("деревянные ящики", 20, 2.5),
    ("картонные коробки", 8, 1.34),
    ("пластиковые ящики", 10, 1.9),
    ("полиэтиленовая пленка", 1, 2.3),
    ("металлические контейнеры", 15, 0.46),
    ("стеклянные банки", 40, 0.84),
    ("полипропиленовые мешки", 1.5, 1.9),
]

# Thermal properties of foods as listed in the usual food-refrigeration
# handbook tables (composition-based values): specific heat above and below
# freezing kJ/(kg*K), latent heat kJ/kg, initial freezing point degC; the
# respiration heat of fresh fruit and vegetables at 0, 5 and 15 degC in mW/kg
# (the 2 degC value lies on the line between 0 and 5 degC).
# Each group: name, where freezing is complete (so many K below tko, or at a
# fixed temperature), products.
GROUPS = [
    ("Фрукты", ("below", 8), [
        ("Яблоки", "Apples", "Mele", 3.81, 1.98, 280, -1.1, (10, 17, 45)),
        ("Груши", "Pears", "Pere", 3.72, 1.96, 279, -1.6, (8, 18, 60)),
        ("Виноград", "Grapes", "Uva", 3.69, 1.94, 271, -2.1, (4, 9, 25)),
        ("Апельсины", "Oranges", "Arance", 3.73, 1.94, 290, -0.8, (5, 11, 30)),
        ("Лимоны", "Lemons", "Limoni", 3.73, 1.94, 292, -1.4, (5, 9, 22)),
        ("Бананы", "Bananas", "Banane", 3.56, 1.90, 248, -0.8, (20, 25, 50)),
        ("Клубника", "Strawberries", "Fragole", 3.89, 2.01, 306, -0.8, (15, 35, 110)),
        ("Черешня", "Sweet cherries", "Ciliegie", 3.68, 1.93, 274, -1.8, (6, 14, 40)),
        ("Персики", "Peaches", "Pesche", 3.78, 1.97, 297, -0.9, (6, 12, 60)),
        ("Сливы", "Plums", "Prugne", 3.69, 1.94, 291, -0.8, (4, 9, 27)),
    ]),
    ("Овощи", ("below", 8), [
        ("Картофель", "Potatoes", "Patate", 3.43, 1.82, 264, -0.8, (9, 11, 17)),
        ("Морковь", "Carrots", "Carote", 3.79, 1.95, 294, -1.4, (15, 20, 55)),
        ("Капуста белокочанная", "Cabbage", "Cavolo cappuccio", 3.94, 2.02, 308, -0.9, (5, 10, 27)),
        ("Лук репчатый", "Onions", "Cipolle", 3.77, 1.94, 298, -0.8, (3, 5, 12)),
        ("Томаты", "Tomatoes", "Pomodori", 3.99, 2.02, 315, -0.5, (10, 15, 35)),
        ("Огурцы", "Cucumbers", "Cetrioli", 4.02, 2.02, 320, -0.5, (10, 15, 30)),
        ("Свекла", "Beets", "Barbabietole", 3.78, 1.94, 292, -0.9, (5, 7, 18)),
        ("Салат кочанный", "Head lettuce", "Lattuga", 4.06, 2.04, 319, -0.2, (10, 17, 37)),
        ("Перец сладкий", "Sweet peppers", "Peperoni", 3.99, 2.00, 308, -0.7, (8, 12, 35)),
        ("Шампиньоны", "Mushrooms", "Funghi champignon", 3.97, 2.01, 307, -0.9, (35, 70, 160)),
        ("Чеснок", "Garlic", "Aglio", 3.10, 1.73, 196, -0.8, (6, 9, 20)),
    ]),
    ("Мясо и птица", ("at", -18), [
        ("Говядина", "Beef", "Manzo", 3.22, 1.76, 230, -1.7, None),
        ("Свинина", "Pork", "Maiale", 2.99, 1.66, 205, -2.2, None),
        ("Баранина", "Lamb", "Agnello", 3.10, 1.71, 215, -1.9, None),
        ("Телятина", "Veal", "Vitello", 3.39, 1.82, 253, -1.7, None),
        ("Куры", "Chicken", "Pollo", 3.31, 1.77, 247, -2.8, None),
        ("Индейка", "Turkey", "Tacchino", 3.26, 1.76, 240, -2.8, None),
        ("Мясной фарш", "Ground beef", "Carne macinata", 3.09, 1.71, 213, -1.7, None),
        ("Печень говяжья", "Beef liver", "Fegato di manzo", 3.47, 1.87, 237, -1.7, None),
    ]),
    ("Рыба и морепродукты", ("at", -15), [
        ("Треска", "Cod", "Merluzzo", 3.78, 2.00, 271, -2.2, None),
        ("Сельдь", "Herring", "Aringa", 3.35, 1.84, 240, -2.2, None),
        ("Лосось", "Atlantic salmon", "Salmone", 3.49, 1.87, 229, -2.2, None),
        ("Скумбрия", "Mackerel", "Sgombro", 3.35, 1.83, 213, -2.2, None),
        ("Креветки", "Shrimp", "Gamberi", 3.64, 1.95, 265, -2.2, None),
        ("Судак", "Pike-perch", "Lucioperca", 3.72, 1.96, 263, -2.2, None),
    ]),
    ("Молочные продукты", ("below", 8), [
        ("Молоко", "Whole milk", "Latte intero", 3.89, 2.05, 293, -0.6, None),
        ("Масло сливочное", "Butter", "Burro", 2.40, 1.37, 53, -2.0, None),
        ("Сыр твердый", "Cheddar cheese", "Formaggio stagionato", 2.66, 1.47, 123, -12.9, None),
        ("Творог", "Cottage cheese", "Fiocchi di latte", 3.65, 1.95, 264, -1.2, None),
        ("Сметана", "Sour cream", "Panna acida", 3.40, 1.88, 237, -1.5, None),
        ("Йогурт", "Yogurt", "Yogurt", 3.78, 2.00, 293, -0.6, None),
        ("Мороженое", "Ice cream", "Gelato", 2.95, 1.88, 204, -5.6, None),
    ]),
    ("Прочие продукты", ("below", 8), [
        ("Яйца в скорлупе", "Shell eggs", "Uova con guscio", 3.32, 1.77, 253, -0.6, None),
        ("Пиво", "Beer", "Birra", 3.85, 2.00, 307, -2.2, None),
        ("Сок фруктовый", "Fruit juice", "Succo di frutta", 3.87, 1.98, 293, -1.4, None),
        ("Вино столовое", "Table wine", "Vino da tavola", 3.78, 1.97, 287, -5.0, None),
    ]),
]

# A group that holds no products yet; the wizard does not offer it.
EMPTY_GROUP = "Цветы срезанные"

# Equipment types: name and series code; the pictures are named after the
# series (km.jpg, km_scheme.jpg), drawn by scripts/drawpictures.
EQUIPMENT = [
    ("Моноблок среднетемпературный KM", "KM"),
    ("Сплит-система среднетемпературная KS", "KS"),
    ("Моноблок низкотемпературный KMC", "KMC"),
    ("Сплит-система низкотемпературная KSC", "KSC"),
    ("Моноблок универсальный KMP", "KMP"),
    ("Сплит-система универсальная KSP", "KSP"),
]

CLASS_TEMPERATURES = {0: (5, 10, 15), 1: (-5, 0, 5), 2: (-25, -22, -18), 3: (-45, -35, -25)}
OUTSIDE_TEMPERATURES = (20, 32, 43)

# Letter -> (temperature class of the rows, refrigerant R22?, series the rows
# belong to). The codes with C and X are built for the KM/KS series at -28 degC
# and below as well as for KMC/KSC; the rows exist once and belong to the
# low-temperature series, at the class those codes are used at.
# The packaged codes P and Q are built at three classes (above 8 degC, down to
# -8 degC, down to -27 degC) from one set of rows, which the selection reads at
# the rated chamber temperatures of whichever class applies. The set holds the
# unit's capacities at the coldest of them (-25/-22/-18 degC), so the unit is
# credited with less than it can do in a warmer chamber, never with more.
LETTERS = {
    "H": (0, True, ""), "A": (0, False, ""),
    "M": (1, True, ""), "N": (1, False, ""),
    "B": (2, True, ""), "K": (2, False, ""),
    "C": (3, True, "C"), "X": (3, False, "C"),
    "P": (2, True, "P"), "Q": (2, False, "P"),
}

MODIFICATIONS = {
    "": (20, 35, 50, 75, 100, 150),
    "C": (35, 50, 75, 100, 150, 200),
    "P": (50, 75, 100, 150, 200, 300),
}

# Capacity per unit of modification at the middle chamber temperature of the
# class and 32 degC outside, W, and the relative change per K of chamber and
# of outside temperature.
CLASS_MODEL = {0: (125.0, 0.030, 0.012), 1: (100.0, 0.035, 0.012),
               2: (48.0, 0.045, 0.015), 3: (26.0, 0.050, 0.015)}
# R404a gives a little less at medium and a little more at low temperatures.
R404A_FACTOR = {0: 0.96, 1: 0.96, 2: 1.03, 3: 1.08}
# Split systems have larger condensers than monoblocks.
SPLIT_FACTOR = 1.08
UNIVERSAL_FACTOR = 0.95


def capacity(t_class, r22, split, universal, modification, in_t, out_t):
    base, per_k_in, per_k_out = CLASS_MODEL[t_class]
    middle = CLASS_TEMPERATURES[t_class][1]
    value = modification * base * math.exp(per_k_in * (in_t - middle)) * (1 - per_k_out * (out_t - 32))
    value *= 1.0 if r22 else R404A_FACTOR[t_class]
    value *= SPLIT_FACTOR if split else 1.0
    value *= UNIVERSAL_FACTOR if universal else 1.0
    return int(round(value / 10.0)) * 10


def power_statements(equipment_keys):
    """One INSERT of nine rows per model and modification."""
    statements = []
    for prefix in ("KM", "KS"):
        for letter, (t_class, r22, suffix) in LETTERS.items():
            fkey = equipment_keys[prefix + suffix]
            for modification in MODIFICATIONS[suffix]:
                rows = []
                for in_t in CLASS_TEMPERATURES[t_class]:
                    for out_t in OUTSIDE_TEMPERATURES:
                        power = capacity(t_class, r22, prefix == "KS", suffix == "P", modification, in_t, out_t)
                        rows.append("('%s', %d, %d, %d, %d, %d)" % (prefix + letter, modification, in_t, out_t,
                                                                  power, fkey))
                statements.append("INSERT INTO power (model, modification, in_t, out_t, power, fkey) VALUES\n  "
                                  + ",\n  ".join(rows) + ";")
    return "\n".join(statements)


def kcal(kj, digits):
    return round(kj / KJ_PER_KCAL, digits)


def product_rows():
    groups, products = [], []
    for group_key, (group, freezing, items) in enumerate(GROUPS, start=1):
        groups.append((group_key, group))
        for ru, en, it, cp, cf, latent, tko, respiration in items:
            kind, depth = freezing
            tnz = round(tko - depth, 1) if kind == "below" else float(depth)
            r0, r5, r15 = respiration or (0, 0, 0)
            r2 = r0 + (r5 - r0) * 2 / 5
            td = [round(r / 1000.0, 4) for r in (r0, r2, r5, r15)]
            products.append([len(products) + 1, ru, en, it, kcal(cp, 3), kcal(cf, 3), kcal(latent, 1),
                             tko, tnz] + td + [group_key])
    groups.append((len(groups) + 1, EMPTY_GROUP))
    return groups, products


def main():
    out = ["-- Sample reference data. Generated by scripts/gen_sample_nv.py; edit the",
           "-- script and run it again instead of editing this file.", ""]
    out.append("-- Insulation: design conductivities from building-physics material tables.")
    out.append(insert("article", ("Pkey", "s_name", "s_value", "cls_n"),
                      [(i, n, v, c) for i, (n, v, c) in enumerate(ARTICLES, start=1)]))
    out.append("\n-- Door curtains: loss reduction in % from typical manufacturer data.")
    out.append(insert("curtain", ("Pkey", "text_ru", "c_value"),
                      [(i, n, v) for i, (n, v) in enumerate(CURTAINS, start=1)]))
    out.append("\n-- Packing: tare share in % of the product mass, specific heat of the material")
    out.append("-- (material property tables) in kcal/(kg*degC).")
    out.append(insert("packing", ("Pkey", "text_ru", "mass", "thermal"),
                      [(i, n, m, kcal(c, 3)) for i, (n, m, c) in enumerate(PACKINGS, start=1)]))
    groups, products = product_rows()
    out.append("\n-- Product groups; the last one holds no products.")
    out.append(insert("PGroup", ("Pkey", "text_ru"), groups))
    out.append("\n-- Products: food-refrigeration handbook tables of thermal properties and of")
    out.append("-- respiration heat, converted to kcal/(kg*degC), kcal/kg and W/kg.")
    out.append(insert("Product", ("pkey", "text_ru", "text_en", "text_it", "co", "cz", "cwr", "tko", "tnz",
                                  "td0", "td2", "td5", "td15", "fkey"), products))
    out.append("\n-- Equipment types, one per series, with their appearance and mounting pictures.")
    equipment = [(i, name, series, series.lower() + ".jpg", series.lower() + "_scheme.jpg")
                 for i, (name, series) in enumerate(EQUIPMENT, start=1)]
    out.append(insert("equipment", ("Pkey", "text_ru", "model", "picture", "scheme"), equipment))
    out.append("\n-- Rated capacities, W: a unit model typical of catalogue data of condensing")
    out.append("-- units (capacity grows with the evaporating temperature and falls with the")
    out.append("-- outside temperature); nine points per model and modification.")
    keys = {series: key for key, _, series, _, _ in equipment}
    out.append(power_statements(keys))
    print("\n".join(out))


if __name__ == "__main__":
    main()
