#include "outside/ocr/JobTitleWords.h"

#include <QStringList>

#include <algorithm>

namespace {

QString alternatives(std::initializer_list<const char16_t*> words)
{
    QStringList out;
    for (const char16_t* w : words)
        out << QString::fromUtf16(w);
    return out.join(u'|');
}

// Latin and Cyrillic words stand whole: "Leiter" is no title inside "Leiterplatten".
QString whole(const QString& words)
{
    return QStringLiteral(R"((?<![\p{L}\p{N}])(?:%1)(?![\p{L}\p{N}]))").arg(words);
}

// The first word of a department in French, Spanish, Italian and Portuguese, which name the unit
// before what it does: "Service juridique", "Servicio técnico", "Ufficio tecnico", "Direction
// commerciale" are departments though their second word is also a title's.
const QRegularExpression& romanceDepartmentHead()
{
    static const QRegularExpression re(QStringLiteral(R"(^(?:service|servicio|servico|direction|departement|pole|departamento|dpto|area|seccion|gerencia|)"
                                                      R"(ufficio|reparto|divisione|direzione|settore|servizio|setor|sector|direcao|direccao)(?![\p{L}\p{N}]))"));
    return re;
}

} // namespace

QString foldedForWords(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        // Latin and Cyrillic letters lose their accents; other scripts (Hangul, kana) stay whole.
        if (c.unicode() >= 0xC0 && c.unicode() < 0x500 && c.decompositionTag() == QChar::Canonical)
            c = QString(c).normalized(QString::NormalizationForm_D).front();
        c = c.toLower();
    }
    return out;
}

const QRegularExpression& jobTitleWords()
{
    static const QRegularExpression re(
        whole(alternatives({
            // English
            u"manager", u"director", u"president", u"ceo", u"cto", u"cfo", u"coo", u"cio", u"cmo", u"cso", u"cpo", u"engineer",
            u"officer", u"chief", u"head", u"lead", u"vice", u"senior", u"representative", u"consultant", u"specialist",
            u"designer", u"developer", u"analyst", u"partner", u"founder", u"co-founder", u"cofounder", u"architect",
            u"assistant", u"executive", u"coordinator", u"administrator", u"advisor", u"adviser", u"associate",
            u"supervisor", u"scientist", u"accountant", u"controller", u"buyer", u"planner", u"technician", u"owner",
            u"chairman", u"chairwoman", u"chairperson", u"secretary", u"counsel", u"solicitor", u"attorney", u"lawyer",
            u"barrister", u"auditor", u"editor", u"producer", u"professor", u"lecturer", u"physician", u"pharmacist",
            u"nurse", u"agent", u"broker", u"clerk", u"trainee", u"intern", u"apprentice", u"principal", u"treasurer",
            u"strategist", u"receptionist", u"paralegal", u"surveyor", u"underwriter", u"recruiter", u"copywriter",
            u"writer", u"photographer", u"therapist", u"dentist", u"surgeon", u"teacher", u"instructor", u"trainer",
            u"coach", u"liaison", u"inspector", u"estimator", u"programmer", u"researcher", u"fellow", u"dean", u"curator",
            u"evangelist", u"ambassador", u"proprietor", u"vp", u"svp", u"evp", u"avp", u"illustrator", u"translator",
            u"interpreter", u"realtor", u"stylist", u"psychologist", u"physiotherapist", u"electrician", u"mechanic",
            u"contractor", u"actuary", u"economist", u"notary", u"banker", u"trader", u"operator", u"superintendent",
            u"foreman", u"key account", u"account",
            // German, feminine forms below
            u"geschaftsfuhrer", u"leiter", u"berater", u"referent", u"ingenieur", u"prokurist", u"vorstand",
            u"vorsitzende", u"vorsitzender", u"sachbearbeiter", u"inhaber", u"entwickler", u"assistent", u"direktor",
            u"gesellschafter", u"steuerberater", u"rechtsanwalt", u"architekt", u"kaufmann", u"kauffrau",
            u"mitarbeiter", u"spezialist", u"koordinator", u"grunder", u"beauftragte", u"beauftragter", u"prasident",
            u"wirtschaftsprufer", u"techniker", u"buchhalter", u"einkaufer", u"disponent", u"sekretar", u"redakteur",
            u"dozent", u"arzt", u"apotheker", u"notar", u"makler", u"vertreter", u"managerin", u"partnerin",
            u"designerin", u"analystin", u"leitung", u"assistenz",
            // French
            u"directeur", u"directrice", u"presidente", u"pdg", u"dg", u"gerant", u"gerante", u"responsable", u"chef",
            u"cheffe", u"charge", u"chargee", u"ingenieure", u"consultante", u"conseiller", u"conseillere",
            u"assistante", u"attache", u"attachee", u"comptable", u"avocat", u"avocate", u"associe", u"associee",
            u"fondateur", u"fondatrice", u"cofondateur", u"cofondatrice", u"commercial", u"commerciale",
            u"technicien", u"technicienne", u"adjoint", u"adjointe", u"analyste", u"developpeur", u"developpeuse",
            u"architecte", u"juriste", u"secretaire", u"delegue", u"deleguee", u"administrateur", u"administratrice",
            u"coordinateur", u"coordinatrice", u"stagiaire", u"notaire", u"expert", u"experte", u"pharmacien",
            u"pharmacienne", u"medecin", u"docteur", u"professeur", u"redacteur", u"redactrice", u"gestionnaire",
            u"acheteur", u"acheteuse", u"vendeur", u"vendeuse",
            // Spanish
            u"directora", u"gerente", u"presidenta", u"jefe", u"jefa", u"ingeniero", u"ingeniera", u"consultor",
            u"consultora", u"asesor", u"asesora", u"asistente", u"abogado", u"abogada", u"socio", u"socia", u"fundador",
            u"fundadora", u"cofundador", u"cofundadora", u"tecnico", u"tecnica", u"analista", u"desarrollador",
            u"desarrolladora", u"arquitecto", u"arquitecta", u"coordinador", u"coordinadora", u"administrador",
            u"administradora", u"contable", u"contador", u"contadora", u"ejecutivo", u"ejecutiva", u"delegado",
            u"delegada", u"secretario", u"secretaria", u"subdirector", u"subdirectora", u"consejero", u"consejera",
            u"comercial", u"especialista", u"encargado", u"encargada", u"gestor", u"gestora", u"vendedor", u"vendedora",
            u"representante",
            // Italian
            u"direttore", u"direttrice", u"amministratore", u"amministratrice", u"responsabile", u"ingegnere",
            u"consulente", u"avvocato", u"avvocatessa", u"fondatore", u"sviluppatore", u"sviluppatrice",
            u"architetto", u"coordinatore", u"commerciale", u"segretario", u"segretaria", u"assistente", u"capo",
            u"dirigente", u"ragioniere", u"geometra", u"dottore", u"dottoressa", u"impiegato", u"impiegata",
            u"titolare", u"procuratore", u"referente", u"addetto", u"addetta",
            // Portuguese
            u"diretor", u"diretora", u"engenheiro", u"engenheira", u"assessor", u"assessora", u"advogado",
            u"advogada", u"desenvolvedor", u"desenvolvedora", u"arquiteto", u"arquiteta", u"coordenador",
            u"coordenadora", u"contabilista", u"supervisora", u"executivo", u"executiva", u"chefe", u"responsavel",
            // Russian, by their stems
            u"директор\\p{L}*", u"менеджер\\p{L}*", u"руководител\\p{L}*", u"начальник\\p{L}*", u"инженер\\p{L}*",
            u"специалист\\p{L}*", u"бухгалтер(?:а|у|ом|е|ы|ов|ам)?", u"консультант\\p{L}*", u"юрист\\p{L}*", u"заместител\\p{L}*",
            u"президент\\p{L}*", u"председател\\p{L}*", u"аналитик\\p{L}*", u"разработчик\\p{L}*", u"помощник\\p{L}*",
            u"ассистент\\p{L}*", u"координатор\\p{L}*", u"эксперт\\p{L}*", u"управляющ\\p{L}*", u"партнер\\p{L}*",
            u"основател\\p{L}*", u"программист\\p{L}*", u"технолог\\p{L}*", u"архитектор\\p{L}*", u"дизайнер\\p{L}*",
            u"секретар\\p{L}*", u"представител\\p{L}*", u"советник\\p{L}*", u"адвокат\\p{L}*", u"врач\\p{L}*",
            u"профессор\\p{L}*", u"преподавател\\p{L}*",
        }))
            // German compounds and the feminine forms of German titles: "Vertriebsleiterin",
            // "Geschäftsführerin", "Referentin", "Projektingenieurin".
            + QStringLiteral(R"(|\p{L}*(?:leiter|ingenieur|berater|referent|entwickler|manager|techniker|assistent|spezialist|)"
                             R"(koordinator|fuhrer|direktor|prufer|kaufmann|vertreter|mitarbeiter|berater|inhaber|gesellschafter|)"
                             R"(anwalt|architekt|sachbearbeiter|grunder|prokurist|einkaufer|redakteur|vorstand|partner|designer|)"
                             R"(analyst|steuerberater|prasident|sekretar)(?:in|innen)?(?![\p{L}\p{N}]))")
            // Chinese and Korean, at the end of a longer word too ("销售经理", "영업팀장"), not
            // inside a company's name ("大同顧問有限公司").
            + QStringLiteral("|(?:")
            + alternatives({u"经理", u"經理", u"总监", u"總監", u"主任", u"董事", u"工程师", u"工程師", u"总裁", u"總裁", u"副总",
                            u"副總", u"助理", u"主管", u"专员", u"專員", u"顾问", u"顧問", u"设计师", u"設計師", u"会计师", u"會計師",
                            u"律师", u"律師", u"教授", u"院长", u"院長", u"部长", u"部長", u"处长", u"處長", u"科长", u"科長",
                            u"组长", u"組長", u"首席", u"合伙人", u"合夥人", u"创始人", u"創辦人", u"秘书", u"秘書", u"行长",
                            u"行長", u"店长", u"店長", u"厂长", u"廠長", u"主席", u"研究员", u"研究員", u"分析师", u"分析師",
                            u"讲师", u"講師", u"医师", u"醫師", u"总工", u"總工", u"董事长", u"董事長", u"财务长", u"財務長",
                            u"执行长", u"執行長", u"营运长", u"營運長", u"技术长", u"技術長", u"秘书长", u"秘書長", u"理事长", u"理事長",
                            u"业务员", u"業務員", u"대표이사", u"대표", u"사장", u"회장", u"전무",
                            u"상무", u"이사", u"부장", u"차장", u"과장", u"대리", u"주임", u"사원", u"팀장", u"실장", u"본부장",
                            u"센터장", u"소장", u"원장", u"국장", u"연구원", u"책임", u"선임", u"수석", u"매니저", u"디자이너",
                            u"엔지니어", u"변호사", u"회계사", u"세무사", u"교수", u"고문", u"컨설턴트", u"파트장", u"그룹장",
                            u"리더", u"감사", u"상무보", u"이사대우", u"부장대우", u"차장대우", u"과장대우", u"프로", u"위원",
                            u"인턴", u"팀원", u"연구위원", u"전문위원", u"수석위원"})
            + QStringLiteral(R"()(?![\p{L}\p{N}]))"));
    return re;
}

bool namesAJobTitle(const QString& text)
{
    const QString folded = foldedForWords(text.trimmed());
    // "Area Manager", "Area Sales Director": an English title after a word that heads Romance
    // departments.
    static const QRegularExpression englishTitleLast(
        QStringLiteral(R"((?<![\p{L}\p{N}])(?:manager|director|lead|executive|officer|specialist|coordinator|supervisor|consultant|engineer)$)"));
    return jobTitleWords().match(folded).hasMatch()
        && (!romanceDepartmentHead().match(folded).hasMatch() || englishTitleLast.match(folded).hasMatch());
}

const QRegularExpression& departmentWords()
{
    static const QRegularExpression re(
        whole(alternatives({
            // English
            u"department", u"dept", u"division", u"section", u"group", u"team", u"unit", u"office of", u"sales",
            u"marketing", u"finance", u"engineering", u"operations", u"human resources", u"hr", u"research",
            u"procurement", u"logistics", u"customer service", u"legal", u"accounting", u"purchasing", u"support",
            u"product development", u"business development", u"quality assurance", u"it services", u"communications",
            u"management", u"relations", u"payable", u"receivable", u"treasury", u"compliance", u"facilities",
            u"services", u"technology", u"administration", u"development", u"design", u"strategy", u"audit", u"tax",
            u"risk", u"planning", u"people & culture", u"partnerships", u"public affairs", u"customer success", u"r&d",
            u"innovation", u"production", u"manufacturing", u"supply chain", u"real estate", u"private banking",
            u"wealth management", u"asset management", u"advisory", u"export", u"exports", u"exportation", u"exportacion",
            u"exportacao", u"esportazione", u"export sales",
            // German
            u"abteilung", u"vertrieb", u"einkauf", u"personal", u"buchhaltung", u"entwicklung", u"forschung",
            u"kundenservice", u"kundendienst", u"logistik", u"finanzen", u"produktion", u"qualitatssicherung",
            u"verwaltung", u"geschaftsleitung", u"geschaftsfuhrung", u"controlling", u"personalwesen",
            u"rechnungswesen", u"konstruktion", u"innendienst", u"aussendienst", u"technik", u"recht", u"steuern",
            u"kommunikation", u"unternehmenskommunikation", u"f&e", u"bereich", u"fachbereich",
            // French
            u"service", u"direction", u"departement", u"pole", u"ressources humaines", u"rh", u"comptabilite", u"achats",
            u"communication", u"ventes", u"informatique", u"juridique", u"recherche et developpement", u"logistique",
            u"finances", u"service client", u"qualite", u"relations presse", u"exploitation", u"formation",
            // Spanish
            u"departamento", u"dpto", u"area", u"direccion", u"recursos humanos", u"rrhh", u"compras", u"contabilidad",
            u"finanzas", u"administracion", u"calidad", u"logistica", u"comunicacion", u"produccion", u"sistemas",
            u"atencion al cliente", u"desarrollo de negocio", u"asesoria juridica", u"operaciones", u"investigacion",
            u"desarrollo", u"ingenieria", u"tecnologia",
            // Italian
            u"ufficio", u"reparto", u"divisione", u"direzione", u"risorse umane", u"vendite", u"acquisti",
            u"amministrazione", u"contabilita", u"qualita", u"produzione", u"comunicazione", u"ricerca e sviluppo",
            u"assistenza clienti", u"settore", u"servizio", u"legale", u"finanza", u"sviluppo", u"progettazione",
            // Portuguese
            u"direcao", u"direccao", u"setor", u"sector", u"vendas", u"financeiro", u"contabilidade", u"qualidade",
            u"comunicacao", u"producao", u"juridico", u"atendimento ao cliente", u"operacoes", u"engenharia",
            u"desenvolvimento", u"administracao",
            // Russian, by their stems
            u"отдел\\p{L}*", u"департамент\\p{L}*", u"управлени\\p{L}*", u"служб\\p{L}*", u"дирекци\\p{L}*",
            u"отделени\\p{L}*", u"сектор\\p{L}*", u"групп\\p{L}*", u"бухгалтери\\p{L}*", u"лаборатори\\p{L}*",
        }))
            // German compounds: "Personalabteilung", "Kundendienst", "Vertriebsinnendienst".
            + QStringLiteral(R"(|\p{L}+(?:abteilung|dienst|wesen|sicherung|verwaltung|entwicklung|bereich|management)(?![\p{L}\p{N}]))")
            // Chinese units at the end of a word ("财务处", "研发中心", a sales region "华东大区"); "市场部"
            // ends as a Japanese department does.
            + QStringLiteral(R"(|\p{Han}{2,8}(?:处|處|组|組|中心|办公室|辦公室|研究院|研究所|大区|大區)(?!\p{Han}))")
            // Korean units after a department's work ("영업부", "마케팅팀", "경영지원실"), or any
            // headquarters, centre, division or institute.
            + QStringLiteral(R"(|(?:영업|마케팅|기획|경영지원|인사|총무|재무|회계|개발|연구|기술|생산|품질|구매|물류|해외영업|국내영업|)"
                             R"(전략|홍보|디자인|법무|고객지원|서비스|사업|경영|관리|영업지원|연구개발|정보|전산|교육|상품|)"
                             R"(제품|솔루션|플랫폼|데이터|보안|감사|인사총무)(?:부|팀|실|과|그룹|파트)(?![\x{AC00}-\x{D7AF}]))")
            + QStringLiteral(R"(|[\x{AC00}-\x{D7AF}]{2,}(?:본부|센터|연구소|사업부|지점|지사)(?![\x{AC00}-\x{D7AF}]))"));
    return re;
}

bool namesADepartment(const QString& text)
{
    const QString folded = foldedForWords(text.trimmed());
    if (romanceDepartmentHead().match(folded).hasMatch())
        return !namesAJobTitle(text);
    if (!departmentWords().match(folded).hasMatch())
        return false;
    // "Engineering excellence" is a slogan, "Service juridique" and "Recursos humanos" departments:
    // each longer Latin word in small letters is itself a word of departments or titles, or one
    // that joins or qualifies them.
    static const QRegularExpression qualifying(whole(alternatives(
        {u"and", u"of", u"the", u"for", u"und", u"fur", u"des", u"du", u"la", u"le", u"les", u"et", u"del", u"della", u"delle",
         u"dei", u"degli", u"dos", u"das", u"aux", u"para", u"per", u"humanos", u"humanas", u"humaines", u"umane", u"juridique",
         u"juridico", u"juridica", u"giuridico", u"financiere", u"financiero", u"financiera", u"finanziario", u"technique",
         u"client", u"clients", u"cliente", u"clientes", u"clienti", u"clientela", u"generale", u"generales", u"general",
         u"interne", u"interna", u"interno", u"proyectos", u"projets", u"progetti", u"projetos", u"negocio", u"negocios",
         u"affaires", u"presse", u"prensa", u"stampa", u"imprensa", u"internacional", u"international", u"internazionale",
         u"exportacion", u"export", u"publiques", u"publicas", u"publiche", u"publicas", u"clienteles"})));
    const QStringList words = text.split(QRegularExpression(QStringLiteral(R"([\s,/|&]+)")), Qt::SkipEmptyParts);
    return std::all_of(words.begin(), words.end(), [](const QString& w) {
        if (w.size() <= 3 || !w.front().isLower() || w.front().unicode() >= 0x400)
            return true;
        const QString f = foldedForWords(w);
        return qualifying.match(f).hasMatch() || departmentWords().match(f).hasMatch() || jobTitleWords().match(f).hasMatch();
    });
}
