"""The words, letters and icons that stand before numbers and addresses, per language."""

WORDS = {
    "en": {"phone": ["Tel", "Tel.", "Phone", "Office"], "direct": ["Direct", "DD"],
           "mobile": ["Mobile", "Mob.", "Cell", "c."], "fax": ["Fax"], "email": ["Email", "E-mail"],
           "url": ["Web", "www"]},
    "de": {"phone": ["Tel.", "Telefon", "Fon"], "direct": ["Durchwahl", "Direkt"],
           "mobile": ["Mobil", "Handy", "Mobiltelefon"], "fax": ["Fax", "Telefax"], "email": ["E-Mail", "Mail"],
           "url": ["Web", "Internet"]},
    "fr": {"phone": ["Tél.", "Tél", "Standard"], "direct": ["Ligne directe", "LD"],
           "mobile": ["Portable", "Mobile", "Port."], "fax": ["Fax"], "email": ["E-mail", "Courriel"],
           "url": ["Web", "Site"]},
    "es": {"phone": ["Tel.", "Tfno.", "Teléfono"], "direct": ["Directo"], "mobile": ["Móvil", "Móv."],
           "fax": ["Fax"], "email": ["E-mail", "Correo"], "url": ["Web"]},
    "it": {"phone": ["Tel.", "Tel"], "direct": ["Diretto", "Tel. diretto"], "mobile": ["Cell.", "Cellulare", "Mob."],
           "fax": ["Fax"], "email": ["E-mail", "Email"], "url": ["Web", "Sito"]},
    "pt": {"phone": ["Tel.", "Telefone"], "direct": ["Direto"], "mobile": ["Telemóvel", "Tlm.", "Cel.", "Celular"],
           "fax": ["Fax"], "email": ["E-mail", "Email"], "url": ["Site", "Web"]},
    "ru": {"phone": ["Тел.", "Тел"], "direct": ["Прямой"], "mobile": ["Моб.", "Мобильный"],
           "fax": ["Факс"], "email": ["E-mail", "Эл. почта"], "url": ["Сайт", "Web"]},
    "ja": {"phone": ["TEL", "Tel", "電話"], "direct": ["直通"], "mobile": ["携帯", "Mobile"],
           "fax": ["FAX", "Fax"], "email": ["E-mail", "Mail", "Email"], "url": ["URL", "Web"]},
    "zh-hans": {"phone": ["电话", "Tel"], "direct": ["直线"], "mobile": ["手机", "Mob"], "fax": ["传真", "Fax"],
                "email": ["邮箱", "Email", "E-mail"], "url": ["网址", "Web"]},
    "zh-hant": {"phone": ["電話", "Tel"], "direct": ["直線"], "mobile": ["手機", "Mobile"], "fax": ["傳真", "Fax"],
                "email": ["電郵", "Email", "E-mail"], "url": ["網址", "Web"]},
    "ko": {"phone": ["전화", "Tel"], "direct": ["직통"], "mobile": ["휴대폰", "H.P"], "fax": ["팩스", "Fax"],
           "email": ["이메일", "E-mail"], "url": ["홈페이지", "Web"]},
}
ADDRESS = {"zh-hans": "地址", "zh-hant": "地址", "ko": "주소"}
POSTAL = {"zh-hans": "邮编"}
EXTENSION = {"en": ["ext. {}", "x{}", "Ext. {}"], "de": ["App. {}", "Durchwahl -{}"], "fr": ["poste {}", "p. {}"],
             "es": ["ext. {}", "Ext. {}"], "it": ["int. {}", "interno {}"], "pt": ["ext. {}", "ramal {}"],
             "ru": ["доб. {}"], "ja": ["内線{}", "（内線{}）"], "zh-hans": ["转{}", "分机 {}"], "zh-hant": ["分機 {}", "#{}"],
             "ko": ["내선 {}"]}
LETTER_ICON = {"phone": "T", "direct": "T", "mobile": "M", "fax": "F", "email": "@", "url": "W"}
GLYPH_ICON = {"phone": "phone", "direct": "phone", "mobile": "mobile", "fax": "fax", "email": "mail", "url": "web",
              "address": "pin"}
CJK_LABEL_LANGS = {"ja", "zh-hans", "zh-hant", "ko"}


LETTER = {"phone": "T", "direct": "D", "mobile": "M", "fax": "F", "email": "E", "url": "W"}


def separator(pick, lang, label):
    """What stands between a label and its value; pick (0 to 1, one per card) keeps a card's
    labels alike."""
    def choose(options):
        return options[int(pick * len(options))]
    if lang in ("ja", "zh-hans", "zh-hant") and not label.isascii():
        return choose(["：", "：", "　", " "])
    if lang == "ko" and not label.isascii():
        return choose([": ", " ", ": ", "  "])
    if label.endswith(".") or label.endswith(":"):
        return " "
    if len(label) <= 2:
        return choose([" ", ". ", ": ", " | "])
    return choose([": ", ": ", " ", ". "])
