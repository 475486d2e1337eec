-- Sample customers and their saved calculations. The keys of materials,
-- curtains, products, groups, packing, equipment types and refrigerants are
-- those of data/sample_nv.sql.

-- Customers. An apostrophe in an organisation's name is stored as "~", as the
-- customer screen stores it.
INSERT INTO contact (pkey, organization, city, phones, email, name) VALUES
  (1, 'ООО "Северный холод"', 'Москва', '+7 495 123-45-67, факс +7 495 123-45-68', 'info@sevholod.ru',
   'Петров Сергей Иванович'),
  (2, 'ЗАО О~Кей Логистика', 'Санкт-Петербург', '+7 812 765-43-21', 'sklad@okey-log.ru',
   'Иванова Марина Павловна'),
  (3, 'ИП Соколов А. В.', 'Краснодар', '+7 861 234-56-78', 'sokolov.agro@mail.ru', 'Соколов Андрей Викторович');

-- Calculations. The first customer has three: a fruit store at 0 degC, a meat
-- freezer at -20 degC and a dairy chamber at 4 degC.
INSERT INTO data (pkey, xk_bulk, xk_length, xk_width, xk_height, xk_ceiling, xk_ceiling_stuff, xk_wall,
                  xk_wall_stuff, xk_floor, xk_floor_stuff, xk_doors, xk_doors_open, xk_curtain, xk_temperature,
                  xk_people, xk_heat, by_temperature, by_moisture, by_ground, px_product, px_time, px_start_t,
                  px_end_t, px_weight, px_turnover, px_packing, xo_type1, xo_type2, xo_count, xo_power, xo_work,
                  contact, odate, onote, px_pgroup) VALUES
  -- apples in plastic crates, 6 x 4 x 3 m, KM with R404a
  (1, 72, 6, 4, 3, 100, 1, 100, 1, 100, 4, 2, 1, 2, 0,
   8, 200, 32, 75, 20, 1, 24, 20,
   2, 15, 10, 4, 1, 2, 1, 10, 70,
   1, '2024-03-14', 'Камера хранения яблок, ПВХ-завеса', 1),
  -- chilled beef frozen to -18 degC, 5 x 4 x 3 m, KM with R404a
  (2, 60, 5, 4, 3, 150, 1, 150, 1, 150, 4, 2, 0.5, 3, -20,
   4, 0, 32, 70, 10, 22, 24, 4,
   -18, 8, 10, 3, 1, 2, 1, 10, 70,
   1, '2024-03-15', 'Морозильная камера для говядины', 3),
  -- milk in cardboard boxes, 8 x 6 x 4 m, two KS units with R22
  (3, 192, 8, 6, 4, 100, 1, 100, 1, 80, 4, 3.6, 2, 2, 4,
   16, 500, 35, 60, 15, 36, 24, 8,
   4, 30, 30, 3, 2, 1, 2, 15, 70,
   1, '2024-04-02', 'Склад молочной продукции, вариант на лето', 5),
  -- frozen cod kept at -25 degC in a -28 degC store, two KMC units with R404a
  (4, 270, 10, 6, 4.5, 150, 1, 150, 1, 150, 4, 4.4, 1, 4, -28,
   6, 300, 30, 70, 5, 30, 24, -18,
   -25, 50, 10, 3, 3, 2, 2, 10, 75,
   2, '2024-05-20', 'Низкотемпературный склад рыбы', 4),
  -- potatoes in wooden crates, 12 x 8 x 5 m, two KMP units with R22
  (5, 480, 12, 8, 5, 100, 1, 100, 1, 50, 4, 6, 2, 1, 2,
   10, 0, 30, 65, 12, 11, 24, 12,
   4, 100, 10, 2, 5, 1, 2, 10, 70,
   3, '2024-09-03', 'Овощехранилище, картофель', 2);
