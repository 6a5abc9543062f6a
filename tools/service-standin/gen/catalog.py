"""The releases of the fixture tracker: one entry per release page."""

FILM, SERIES = "film", "series"

RELEASES = [
    dict(id=107187, ru="Северное сияние", en="Northern Lights", year=2019, kind=FILM,
         rip="BDRip 1080p | Лицензия", gb="10.23", seed=125, leech=7, comments=14,
         country="Россия, Норвегия", genre="драма, приключения", director="Анна Лебедева",
         cast=["Иван Петров", "Мария Соколова", "Олег Ветров", "Нина Ким", "Пётр Орлов"],
         length="01:58:12", files=1, color="#1d3b5c", imdb="7.4", filmdb="7.8",
         about="Полярный исследователь остаётся один на станции у края света и ждёт, когда небо "
               "откроет ему старую тайну экспедиции, пропавшей сорок лет назад."),
    dict(id=215640, ru="Северное сияние", en="Northern Lights", year=2019, kind=FILM,
         rip="UHD BDRemux 2160p | HDR | 4K", gb="58.40", seed=41, leech=12, comments=3,
         country="Россия, Норвегия", genre="драма, приключения", director="Анна Лебедева",
         cast=["Иван Петров", "Мария Соколова", "Олег Ветров", "Нина Ким", "Пётр Орлов"],
         length="01:58:12", files=1, color="#243f6b", imdb="7.4", filmdb="7.8",
         about="Полярный исследователь остаётся один на станции у края света. Версия "
               "в высоком разрешении с расширенным динамическим диапазоном."),
    dict(id=98214, ru="Северное сияние 2: Полярная ночь", en="Northern Lights 2: Polar Night",
         year=2021, kind=FILM, rip="HDTV 1080i", gb="12.90", seed=33, leech=4, comments=0,
         country="Россия", genre="драма, триллер", director="Анна Лебедева",
         cast=["Мария Соколова", "Олег Ветров", "Игорь Белый", "Вера Гусева"],
         length="02:04:40", files=1, color="#2c2350", imdb="6.9", filmdb="7.1",
         about="Зима на станции длится полгода. Новая смена приезжает за ответами, "
               "но находит только следы на снегу и выключенный радиомаяк."),
    dict(id=98215, ru="Северное сияние 2: Полярная ночь", en="Northern Lights 2: Polar Night",
         year=2021, kind=FILM, rip="DVDRip", gb="2.18", seed=9, leech=1, comments=0,
         country="Россия", genre="драма, триллер", director="Анна Лебедева",
         cast=["Мария Соколова", "Олег Ветров", "Игорь Белый", "Вера Гусева"],
         length="02:04:40", files=1, color="#3a2d5e", imdb="6.9", filmdb="7.1",
         about="Зима на станции длится полгода. Новая смена приезжает за ответами."),
    dict(id=402311, ru="Северное сияние 3", en="Northern Lights 3", year=2024, kind=FILM,
         rip="WEB-DL 720p", gb="3.45", seed=210, leech=35, comments=27,
         country="Россия", genre="приключения", director="Кирилл Зорин",
         cast=["Мария Соколова", "Денис Руднев", "Алиса Мороз", "Глеб Савин", "Юлия Лед"],
         length="01:49:03", files=1, color="#0f4d4a", imdb="6.2", filmdb="6.6",
         about="Последняя часть истории о станции: лёд тает, и под ним открывается "
               "то, что экспедиция искала все эти годы."),
    dict(id=310455, ru="Сияние севера", en="Aurora Station", year=2023, kind=SERIES,
         season="Сезон 1, серии 1-10 из 10", rip="WEB-DL 1080p", gb="21.70", seed=88,
         leech=15, comments=6, country="Норвегия, Швеция", genre="драма, детектив",
         director="Хенрик Даль", cast=["Ингрид Берг", "Ларс Хольм", "Сара Линд", "Эрик Нур"],
         length="00:48:00 (серия)", files=10, color="#14505e", imdb="7.9", filmdb="7.6",
         about="На научной станции за полярным кругом пропадает метеоролог. "
               "Следователь из столицы должен найти его до начала полярной ночи."),
    dict(id=310877, ru="Северный ветер", en="North Wind", year=2024, kind=SERIES,
         season="Сезон 2, серии 1-8 из 12", rip="WEBRip 1080p", gb="14.30", seed=64,
         leech=22, comments=11, country="Россия", genre="драма",
         director="Полина Ершова", cast=["Антон Лосев", "Дарья Клён", "Семён Ярцев"],
         length="00:52:00 (серия)", files=8, color="#3d4f2a", imdb="7.2", filmdb="7.5",
         about="Маленький порт на Белом море, три семьи и одна старая шхуна. "
               "Второй сезон выходит по серии в неделю."),
    dict(id=288001, ru="Последний рейс", en="Last Flight", year=2022, kind=FILM,
         rip="BDRip 1080p", gb="8.74", seed=57, leech=6, comments=2,
         country="США, Канада", genre="триллер", director="Джон Мэйсон",
         cast=["Том Райли", "Эмма Грин", "Люк Стоун", "Анна Белл"],
         length="01:41:55", files=1, color="#5c2a1d", imdb="6.5", filmdb="6.9",
         about="Ночной рейс над Атлантикой. Пилот получает сообщение с земли, "
               "после которого у экипажа остаётся ровно час."),
    dict(id=288950, ru="Тихая гавань", en="Quiet Harbour", year=2023, kind=FILM,
         rip="WEB-DL 2160p | SDR", gb="19.02", seed=73, leech=9, comments=0,
         country="Великобритания", genre="драма", director="Клэр Уэст",
         cast=["Оливия Хант", "Джеймс Карр", "Рут Оуэн"],
         length="01:55:20", files=1, color="#2a4d6e", imdb="7.0", filmdb="7.3",
         about="Вдова смотрителя маяка возвращается в рыбацкий посёлок, где все "
               "знают о ней больше, чем она сама."),
    dict(id=301200, ru="Дорога домой", en="", year=2021, kind=FILM,
         rip="HDTVRip 720p", gb="2.96", seed=140, leech=18, comments=9,
         country="Россия", genre="мелодрама", director="Ольга Царёва",
         cast=["Наталья Рой", "Виктор Глинка", "Софья Ясная", "Павел Крюк"],
         length="01:34:10", files=1, color="#6b4a1f", imdb="6.8", filmdb="7.4",
         about="Спустя двадцать лет брат и сестра едут через всю страну, "
               "чтобы продать дом, в котором выросли."),
    dict(id=299777, ru="Космос изнутри", en="Inside the Cosmos", year=2020, kind=FILM,
         rip="BDRip 1080p", gb="6.12", seed=46, leech=2, comments=1,
         country="Франция", genre="документальный", director="Люк Бернар",
         cast=["рассказчик Жан Морель", "Анна Леруа"], length="01:28:00", files=1,
         color="#101a3a", imdb="8.1", filmdb="8.0",
         about="Путешествие от поверхности Солнца до края наблюдаемой Вселенной."),
    dict(id=350500, ru="Тени прошлого", en="Shadows of the Past", year=2022, kind=SERIES,
         season="Сезон 1, серии 1-6 из 6", rip="WEB-DL 1080p", gb="9.88", seed=51,
         leech=3, comments=4, country="США", genre="детектив",
         director="Роберт Хейл", cast=["Сэм Норт", "Кейт Доусон", "Бен Арчер", "Лили Роуз"],
         length="00:55:00 (серия)", files=6, color="#2e2e2e", imdb="7.7", filmdb="7.2",
         about="Бывший следователь возвращается к делу, которое закрыли тридцать лет назад."),
    dict(id=412000, ru="Лис &amp; Барсук", en="Fox &amp; Badger", year=2020, kind=FILM,
         rip="WEB-DLRip 1080p", gb="1.46", seed=230, leech=40, comments=5,
         country="Россия", genre="мультфильм, семейный", director="Вера Листова",
         cast=["Ксения Лучик", "Андрей Пухов", "Ирина Сова"], length="01:12:30", files=1,
         color="#8a4b12", imdb="7.1", filmdb="7.7",
         about="Лис и Барсук строят общий дом и учатся договариваться."),
]

# Rows of result pages that the client drops (books, pictures, games, one ripper's releases).
DROPPED = [
    dict(id=500101, title="Северное сияние. Артбук (2020) PDF", gb="0.18", seed=12, leech=0),
    dict(id=500102, title="Северное сияние (обои) (2019) JPG", gb="0.35", seed=8, leech=1),
    dict(id=500103, title="Northern Lights: The Game (2021) PC | RePack", gb="4.02", seed=31,
         leech=5),
    dict(id=500104, title="Северное сияние (2019) DVDRip-AVC от PCRec", gb="1.37", seed=6,
         leech=0),
    dict(id=500105, title="Северное сияние: Экспедиция (2022) РС | Лицензия", gb="7.80",
         seed=14, leech=2),
]

# Rows without a release page that show the rarer forms of the tracker's markup: a book and a
# picture set (dropped), a low-seeded release with "1080P" and a size in lower case, and a row
# with a third right-aligned cell before its size.
ODD = [
    dict(id=500106, title="Северное сияние. Полярные записки (2018) FB2", gb="0.01", seed=3,
         leech=0),
    dict(id=500107, title="Северное сияние (постеры) (2019) JPEG", gb="0.52", seed=5, leech=0),
    dict(id=500108, title="Северное сияние (2019) Telesync 1080P", gb="1.10", unit="gb", seed=2,
         leech=1),
    dict(id=500109, title="Северное сияние: Режиссёрская версия (2019) BDRip 1080p",
         gb="16.02", seed=4, leech=2, comments=2, rating="9.1"),
]

# Which rows each result page lists: release ids, or ids from DROPPED.
SEARCH_PAGES = {
    "search_aurora_0": [107187, 215640, 500101, 98214, 98215, 500102, 402311, 500103],
    "search_aurora_1": [310455, 500104, 500108, 500105, 500106, 412000, 500109, 500107],
}
SEARCH_TEXTS = {"северное сияние": ["search_aurora_0", "search_aurora_1"],
                "сияние": ["search_aurora_0", "search_aurora_1"],
                "northern lights": ["search_aurora_0", "search_aurora_1"]}
TOP = [("Зарубежные фильмы", [288001, 107187, 288950]), ("Наши фильмы", [301200]),
       ("Зарубежные сериалы", [310455, 350500]), ("Научно-популярные фильмы", [299777]),
       ("Мультипликация", [412000])]
CATEGORIES = {"kino": [288001, 288950, 107187, 215640, 98214],
              "nashe_kino": [301200],
              "seriali": [310455, 350500, 310877],
              "nauchno_popularnoe": [299777],
              "multiki": [412000]}
