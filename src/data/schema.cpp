#include "data/schema.h"

#include <algorithm>
#include "data/rights.h"

namespace qandor::Schema {

namespace {

// Columns shared by the two loan tables and the two renewal tables are
// spelled out per table so each reads like the table it creates.
const char *const BookColumns =
    "ID*int identity(1,1)|状态*nvarchar(10) NULL|图书编号*nvarchar(50) NULL|图书名称*nvarchar(255) NULL|"
    "标准ISBN*nvarchar(50) NULL|ISBN*nvarchar(50) NULL|分类号*nvarchar(50) NULL|分类名*nvarchar(255) NULL|"
    "种次号*int default 0|索书号*nvarchar(100) NULL|作者信息*nvarchar(255) NULL|定价*money default 0|"
    "出版社*nvarchar(100) NULL|出版地*nvarchar(50) NULL|出版年*nvarchar(50) NULL|页码*nvarchar(50) NULL|"
    "存放位置*nvarchar(100) NULL|开本*nvarchar(50) NULL|语种*nvarchar(50) NULL|配送物品*nvarchar(100) NULL|"
    "版次*nvarchar(50) NULL|所属丛书*nvarchar(255) NULL|印刷版面*nvarchar(50) NULL|内容简介*text NULL|"
    "批次*nvarchar(50) NULL|入库时间*datetime NULL|备注信息*text NULL|借出次数*int default 0|"
    "密级*nvarchar(50) NULL|拼音简码*nvarchar(255) NULL|图片*Image NULL";

const char *const MagazineColumns =
    "ID*int identity(1,1)|状态*nvarchar(10) NULL|期刊编号*nvarchar(50) NULL|期刊名称*nvarchar(255) NULL|"
    "标准ISBN*nvarchar(50) NULL|ISSN*nvarchar(50) NULL|刊期类别*nvarchar(50) NULL|刊次*nvarchar(50) NULL|"
    "总刊次*nvarchar(50) NULL|分类号*nvarchar(50) NULL|分类名*nvarchar(255) NULL|主编信息*nvarchar(255) NULL|"
    "定价*money default 0|出版社*nvarchar(100) NULL|出版地*nvarchar(50) NULL|出版日期*datetime NULL|"
    "存放位置*nvarchar(100) NULL|页码*nvarchar(50) NULL|开本*nvarchar(50) NULL|语种*nvarchar(50) NULL|"
    "配送物品*nvarchar(100) NULL|印刷版面*nvarchar(50) NULL|密级*nvarchar(50) NULL|入库时间*datetime NULL|"
    "备注信息*text NULL|借出次数*int default 0|图片*Image NULL";

const char *const BookLoanColumns =
    "ID*int identity(1,1)|状态*nvarchar(10) NULL|读者类型*nvarchar(50) NULL|读者编号*nvarchar(50) NULL|"
    "姓名*nvarchar(50) NULL|性别*nvarchar(10) NULL|图书编号*nvarchar(50) NULL|图书名称*nvarchar(255) NULL|"
    "标准ISBN*nvarchar(50) NULL|分类名*nvarchar(255) NULL|借出日期*datetime NULL|应还日期*datetime NULL|"
    "实还日期*datetime NULL|借阅天数*int default 0|借阅租金*money default 0|超期天数*int default 0|"
    "超期罚金*money default 0|操作员*nvarchar(50) NULL";

const char *const MagazineLoanColumns =
    "ID*int identity(1,1)|状态*nvarchar(10) NULL|读者类型*nvarchar(50) NULL|读者编号*nvarchar(50) NULL|"
    "姓名*nvarchar(50) NULL|性别*nvarchar(10) NULL|期刊编号*nvarchar(50) NULL|期刊名称*nvarchar(255) NULL|"
    "刊次*nvarchar(50) NULL|标准ISBN*nvarchar(50) NULL|分类名*nvarchar(255) NULL|借出日期*datetime NULL|"
    "应还日期*datetime NULL|实还日期*datetime NULL|借阅天数*int default 0|借阅租金*money default 0|"
    "超期天数*int default 0|超期罚金*money default 0|操作员*nvarchar(50) NULL";

QString userTableSpec()
{
    QString spec = QStringLiteral("ID*int identity(1,1)|用户名*nvarchar(50) NULL|密码*nvarchar(255) NULL");
    for (const RightInfo &r : allRights())
        spec += QLatin1Char('|') + QString::fromUtf8(r.column) + QStringLiteral("*bit default True");
    return spec;
}

QList<TableDef> buildTables()
{
    return {
        {"图书资料", BookColumns},
        {"期刊资料", MagazineColumns},
        {"书籍类别", "ID*int identity(1,1)|父类*int default 0|分类号*nvarchar(50) NULL|分类名*nvarchar(255) NULL"},
        {"出版社", "ID*int identity(1,1)|ISBN*nvarchar(50) NULL|出版社名称*nvarchar(100) NULL|所在地*nvarchar(100) NULL"},
        {"读者类型",
         "ID*int identity(1,1)|类型名称*nvarchar(50) NULL|办证押金*money default 0|图书可借数量*int default 1|"
         "图书可借天数*int default 30|图书每日租金*money default 0|图书超期罚金*money default 0|"
         "期刊可借数量*int default 1|期刊可借天数*int default 30|期刊每日租金*money default 0|"
         "期刊超期罚金*money default 0|期限限制*nvarchar(10) NULL|有效期限*int default 12|"
         "包租*bit default False|包租金*money default 0|包租量*int default 0"},
        {"读者资料",
         "ID*int identity(1,1)|状态*nvarchar(10) NULL|编号*nvarchar(50) NULL|姓名*nvarchar(50) NULL|"
         "性别*nvarchar(10) NULL|类型*nvarchar(50) NULL|押金*money default 0|有效期限制*nvarchar(10) NULL|"
         "截止日期*datetime NULL|单位部门*nvarchar(100) NULL|出生日期*datetime NULL|办证日期*datetime NULL|"
         "联系电话*nvarchar(50) NULL|电子邮箱*nvarchar(100) NULL|联系地址*nvarchar(255) NULL|借阅次数*int default 0|"
         "包租*bit default False|当前包租量*int default 0|当前可用量*int default 0|当前已用量*int default 0|"
         "备注信息*text NULL|照片*Image NULL|密码*nvarchar(255) NULL"},
        {"图书借阅信息", BookLoanColumns},
        {"期刊借阅信息", MagazineLoanColumns},
        {"图书续借记录",
         "ID*int identity(1,1)|续借日期*datetime NULL|读者编号*nvarchar(50) NULL|读者类型*nvarchar(50) NULL|"
         "读者姓名*nvarchar(50) NULL|读者性别*nvarchar(10) NULL|图书编号*nvarchar(50) NULL|图书名称*nvarchar(255) NULL|"
         "标准ISBN*nvarchar(50) NULL|分类名*nvarchar(255) NULL|借阅日期*datetime NULL|续借前应还日期*datetime NULL|"
         "续借后应还日期*datetime NULL|操作员*nvarchar(50) NULL"},
        {"期刊续借记录",
         "ID*int identity(1,1)|续借日期*datetime NULL|读者编号*nvarchar(50) NULL|读者类型*nvarchar(50) NULL|"
         "读者姓名*nvarchar(50) NULL|读者性别*nvarchar(10) NULL|期刊编号*nvarchar(50) NULL|期刊名称*nvarchar(255) NULL|"
         "刊次*nvarchar(50) NULL|标准ISBN*nvarchar(50) NULL|分类名*nvarchar(255) NULL|借阅日期*datetime NULL|"
         "续借前应还日期*datetime NULL|续借后应还日期*datetime NULL|操作员*nvarchar(50) NULL"},
        {"读者挂失记录",
         "ID*int identity(1,1)|操作日期*datetime NULL|操作方式*nvarchar(20) NULL|读者编号*nvarchar(50) NULL|"
         "读者姓名*nvarchar(50) NULL|读者性别*nvarchar(10) NULL|读者类型*nvarchar(50) NULL|操作员*nvarchar(50) NULL"},
        {"读者注销记录",
         "ID*int identity(1,1)|注销日期*datetime NULL|读者编号*nvarchar(50) NULL|读者姓名*nvarchar(50) NULL|"
         "读者性别*nvarchar(10) NULL|读者类型*nvarchar(50) NULL|退还押金*money default 0|备注*nvarchar(255) NULL|"
         "操作员*nvarchar(50) NULL"},
        {"单位部门", "ID*int identity(1,1)|名称*nvarchar(100) NULL"},
        {"刊期类别", "ID*int identity(1,1)|刊期类别*nvarchar(50) NULL"},
        {"密级", "ID*int identity(1,1)|密级名称*nvarchar(50) NULL"},
        {"存放位置", "ID*int identity(1,1)|位置*nvarchar(100) NULL"},
        {"条码", "ID*int identity(1,1)|填充*bit default False|条码*nvarchar(50) NULL|名称*nvarchar(255) NULL"},
        {"用户管理", nullptr}, // built from the rights list
        {"SysParameter",
         "ID*int identity(1,1)|AutoCreateBookNum*bit default True|AutoCreateMagazineNum*bit default True|"
         "AutoCreateReaderNum*bit default False|B_FrontMark*nvarchar(20) NULL|B_BehindMark*nvarchar(20) NULL|"
         "M_FrontMark*nvarchar(20) NULL|M_BehindMark*nvarchar(20) NULL|R_FrontMark*nvarchar(20) NULL|"
         "R_BehindMark*nvarchar(20) NULL|B_Length*int default 5|M_Length*int default 5|R_Length*int default 4|"
         "PageSize*int default 100|CardTitle*nvarchar(100) NULL|CardBackInfor*text NULL|"
         "AutoBookOutTimeWarn*bit default True|AutoMagazineOutTimeWarn*bit default True"},
        // Tables the start-up upgrade would add to an older database; a new
        // one has them from the start.
        {"ZTR_FLAG", "id*int identity(1,1)|mark*nvarchar(50) NULL|name*nvarchar(225) NULL"},
        {"Magazine",
         "id*int identity(1,1)|期刊名称*nvarchar(225) NULL|ISSN*nvarchar(50) NULL|标准ISSN*nvarchar(50) NULL|"
         "刊期类别*nvarchar(50) NULL|分类号*nvarchar(50) NULL|分类名*nvarchar(225) NULL|主编信息*nvarchar(100) NULL|"
         "定价*money default 0|出版社*nvarchar(50) NULL|出版地*nvarchar(50) NULL|开本*nvarchar(50) NULL|"
         "语种*nvarchar(50) NULL|同步*bit default False|封面*Image"},
        {"Book",
         "id*int identity(1,1)|图书名称*nvarchar(225) NULL|ISBN*nvarchar(50) NULL|标准ISBN*nvarchar(50) NULL|"
         "分类号*nvarchar(50) NULL|分类名*nvarchar(225) NULL|作者信息*nvarchar(255) NULL|定价*money default 0|"
         "出版社*nvarchar(50) NULL|出版地*nvarchar(50) NULL|出版年*nvarchar(50) NULL|页码*nvarchar(50) NULL|"
         "开本*nvarchar(50) NULL|语种*nvarchar(50) NULL|配送物品*nvarchar(50) NULL|所属丛书*nvarchar(255) NULL|"
         "内容简介*text NULL|同步*bit default False|封面*Image"},
        {"placard", "id*int identity(1,1)|公告内容*text NULL|公告时间*datetime NULL"},
        {"预定记录",
         "id*int identity(1,1)|读者编号*nvarchar(50) NULL|读者姓名*nvarchar(50) NULL|书籍编号*nvarchar(50) NULL|"
         "书籍名称*nvarchar(50) NULL|类型*nvarchar(50) NULL|预定日期*datetime NULL|状态*nvarchar(50) NULL"},
        {"包租充值",
         "id*int identity(1,1)|状态*nvarchar(20) NULL|读者编号*nvarchar(50) NULL|姓名*nvarchar(20) NULL|"
         "性别*nvarchar(10) NULL|读者类型*nvarchar(20) NULL|充值日期*datetime NULL|充值金额*money default 0|"
         "包租量*int default 0|可用量*int default 0|已用量*int default 0|生效日期*datetime NULL|"
         "失效日期*datetime NULL|备注*nvarchar(255) NULL|操作员*nvarchar(20) NULL"},
    };
}

struct IndexDef {
    const char *name;
    const char *table;
    const char *columns;
    bool unique;
};

const IndexDef Indexes[] = {
    // Numbers the operator sees: two desks can never both save one.
    {"ux_图书资料_图书编号", "图书资料", "图书编号", true},
    {"ux_期刊资料_期刊编号", "期刊资料", "期刊编号", true},
    {"ux_读者资料_编号", "读者资料", "编号", true},
    {"ux_读者类型_类型名称", "读者类型", "类型名称", true},
    {"ux_用户管理_用户名", "用户管理", "用户名", true},
    // Circulation: open loans by reader and by item.
    {"ix_图书借阅信息_读者", "图书借阅信息", "读者编号,状态", false},
    {"ix_图书借阅信息_图书", "图书借阅信息", "图书编号,状态", false},
    {"ix_图书借阅信息_日期", "图书借阅信息", "借出日期", false},
    {"ix_图书借阅信息_状态应还", "图书借阅信息", "状态,应还日期", false},
    {"ix_期刊借阅信息_读者", "期刊借阅信息", "读者编号,状态", false},
    {"ix_期刊借阅信息_期刊", "期刊借阅信息", "期刊编号,状态", false},
    {"ix_期刊借阅信息_日期", "期刊借阅信息", "借出日期", false},
    {"ix_期刊借阅信息_状态应还", "期刊借阅信息", "状态,应还日期", false},
    {"ix_图书续借记录_图书", "图书续借记录", "图书编号,续借日期", false},
    {"ix_期刊续借记录_期刊", "期刊续借记录", "期刊编号,续借日期", false},
    // Catalogue look-ups at the desk and in the editors.
    {"ix_图书资料_标准ISBN", "图书资料", "标准ISBN", false},
    {"ix_图书资料_ISBN", "图书资料", "ISBN", false},
    {"ix_图书资料_图书名称", "图书资料", "图书名称", false},
    {"ix_图书资料_分类种次", "图书资料", "分类号,种次号", false},
    {"ix_期刊资料_标准ISBN", "期刊资料", "标准ISBN", false},
    {"ix_期刊资料_期刊名称", "期刊资料", "期刊名称", false},
    {"ix_读者资料_类型", "读者资料", "类型", false},
    {"ix_读者资料_姓名", "读者资料", "姓名", false},
    // Expired prepaid readers, for the top-up sweep that follows every lend:
    // the reader numbers come from the index alone.
    {"ix_读者资料_状态", "读者资料", "状态,包租,编号", false},
    {"ix_书籍类别_父类", "书籍类别", "父类", false},
    {"ix_预定记录_书籍", "预定记录", "书籍编号,状态", false},
    {"ix_预定记录_日期", "预定记录", "预定日期", false},
    {"ix_预定记录_读者", "预定记录", "读者编号,状态", false},
    {"ix_包租充值_读者", "包租充值", "读者编号,状态", false},
};

// The digest of the default password "52617", made once with a fixed salt
// so that laying a new database costs no key derivation.
const QString DefaultPasswordDigest =
    QStringLiteral("pbkdf2-sha256$60000$UWFhbmRvci1kZWZhdWx0IQ==$3KP9QHwWdhlRqU5RNGaiDrDsc2307b5opCmavuFoMwg=");



// The Chinese Library Classification: the 22 top classes, each with its
// second level, so a new installation can classify at once.
struct ClcClass {
    const char *code;
    const char *name;
    const char *children; // "code name|code name|..."
};

const ClcClass ClcClasses[] = {
    {"A", "马克思主义、列宁主义、毛泽东思想、邓小平理论",
     "A1 马克思、恩格斯著作|A2 列宁著作|A3 斯大林著作|A4 毛泽东著作|A49 邓小平著作|"
     "A5 马克思、恩格斯、列宁、斯大林、毛泽东、邓小平著作汇编|A7 马克思、恩格斯、列宁、斯大林、毛泽东、邓小平生平和传记|"
     "A8 马克思主义、列宁主义、毛泽东思想、邓小平理论的学习和研究"},
    {"B", "哲学、宗教",
     "B0 哲学理论|B1 世界哲学|B2 中国哲学|B3 亚洲哲学|B4 非洲哲学|B5 欧洲哲学|B6 大洋洲哲学|B7 美洲哲学|"
     "B80 思维科学|B81 逻辑学|B82 伦理学|B83 美学|B84 心理学|B9 宗教"},
    {"C", "社会科学总论",
     "C0 社会科学理论与方法论|C1 社会科学现状及发展|C2 社会科学机构、团体、会议|C3 社会科学研究方法|"
     "C4 社会科学教育与普及|C5 社会科学丛书、文集、连续性出版物|C6 社会科学参考工具书|C7 社会科学文献检索工具书|"
     "C8 统计学|C91 社会学|C92 人口学|C93 管理学|C95 民族学、文化人类学|C96 人才学|C97 劳动科学"},
    {"D", "政治、法律",
     "D0 政治学、政治理论|D1 国际共产主义运动|D2 中国共产党|D33/37 各国共产党|D4 工人、农民、青年、妇女运动与组织|"
     "D5 世界政治|D6 中国政治|D73/77 各国政治|D8 外交、国际关系|D9 法律"},
    {"E", "军事",
     "E0 军事理论|E1 世界军事|E2 中国军事|E3/7 各国军事|E8 战略学、战役学、战术学|E9 军事技术|E99 军事地形学、军事地理学"},
    {"F", "经济",
     "F0 经济学|F1 世界各国经济概况、经济史、经济地理|F2 经济管理|F3 农业经济|F4 工业经济|F49 信息产业经济|"
     "F5 交通运输经济|F59 旅游经济|F6 邮电通信经济|F7 贸易经济|F8 财政、金融"},
    {"G", "文化、科学、教育、体育",
     "G0 文化理论|G1 世界各国文化与文化事业|G2 信息与知识传播|G3 科学、科学研究|G4 教育|G8 体育"},
    {"H", "语言、文字",
     "H0 语言学|H1 汉语|H2 中国少数民族语言|H3 常用外国语|H4 汉藏语系|H5 阿尔泰语系|H61 南亚语系|H62 南印语系|"
     "H63 南岛语系|H64 东北亚诸语言|H65 高加索语系|H66 乌拉尔语系|H67 闪-含语系|H7 印欧语系|H81 非洲诸语言|"
     "H83 美洲诸语言|H84 大洋洲诸语言|H9 国际辅助语"},
    {"I", "文学", "I0 文学理论|I1 世界文学|I2 中国文学|I3/7 各国文学"},
    {"J", "艺术",
     "J0 艺术理论|J1 世界各国艺术概况|J2 绘画|J29 书法、篆刻|J3 雕塑|J4 摄影艺术|J5 工艺美术|J59 建筑艺术|J6 音乐|"
     "J7 舞蹈|J8 戏剧、曲艺、杂技艺术|J9 电影、电视艺术"},
    {"K", "历史、地理",
     "K0 史学理论|K1 世界史|K2 中国史|K3 亚洲史|K4 非洲史|K5 欧洲史|K6 大洋洲史|K7 美洲史|K81 传记|K85 文物考古|"
     "K89 风俗习惯|K9 地理"},
    {"N", "自然科学总论",
     "N0 自然科学理论与方法论|N1 自然科学现状及发展|N2 自然科学机构、团体、会议|N3 自然科学研究方法|"
     "N4 自然科学教育与普及|N5 自然科学丛书、文集、连续性出版物|N6 自然科学参考工具书|N7 自然科学文献检索工具|"
     "N8 自然科学调查、考察|N91 自然研究、自然历史|N93 非线性科学|N94 系统科学"},
    {"O", "数理科学和化学", "O1 数学|O3 力学|O4 物理学|O6 化学|O7 晶体学"},
    {"P", "天文学、地球科学",
     "P1 天文学|P2 测绘学|P3 地球物理学|P4 大气科学（气象学）|P5 地质学|P7 海洋学|P9 自然地理学"},
    {"Q", "生物科学",
     "Q1 普通生物学|Q2 细胞生物学|Q3 遗传学|Q4 生理学|Q5 生物化学|Q6 生物物理学|Q7 分子生物学|Q81 生物工程学（生物技术）|"
     "Q89 环境生物学|Q91 古生物学|Q93 微生物学|Q94 植物学|Q95 动物学|Q96 昆虫学|Q98 人类学"},
    {"R", "医药、卫生",
     "R1 预防医学、卫生学|R2 中国医学|R3 基础医学|R4 临床医学|R5 内科学|R6 外科学|R71 妇产科学|R72 儿科学|R73 肿瘤学|"
     "R74 神经病学与精神病学|R75 皮肤病学与性病学|R76 耳鼻咽喉科学|R77 眼科学|R78 口腔科学|R79 外国民族医学|R8 特种医学|R9 药学"},
    {"S", "农业科学",
     "S1 农业基础科学|S2 农业工程|S3 农学（农艺学）|S4 植物保护|S5 农作物|S6 园艺|S7 林业|S8 畜牧、动物医学、狩猎、蚕、蜂|"
     "S9 水产、渔业"},
    {"T", "工业技术",
     "TB 一般工业技术|TD 矿业工程|TE 石油、天然气工业|TF 冶金工业|TG 金属学与金属工艺|TH 机械、仪表工业|TJ 武器工业|"
     "TK 能源与动力工程|TL 原子能技术|TM 电工技术|TN 无线电电子学、电信技术|TP 自动化技术、计算机技术|TQ 化学工业|"
     "TS 轻工业、手工业|TU 建筑科学|TV 水利工程"},
    {"U", "交通运输", "U1 综合运输|U2 铁路运输|U4 公路运输|U6 水路运输|U8 航空运输"},
    {"V", "航空、航天", "V1 航空、航天技术的研究与探索|V2 航空|V4 航天（宇宙航行）|V7 航空、航天医学"},
    {"X", "环境科学、安全科学",
     "X1 环境科学基础理论|X2 社会与环境|X3 环境保护管理|X4 灾害及其防治|X5 环境污染及其防治|X7 行业污染、废物处理与综合利用|"
     "X8 环境质量评价与环境监测|X9 安全科学"},
    {"Z", "综合性图书",
     "Z1 丛书|Z2 百科全书、类书|Z3 辞典|Z4 论文集、全集、选集、杂著|Z5 年鉴、年刊|Z6 期刊、连续性出版物|Z8 图书目录、文摘、索引"},
};

void insertClassification(Database &db)
{
    const QString insertClass = QStringLiteral("insert into 书籍类别 (父类,分类号,分类名) values (?,?,?)");
    for (const ClcClass &c : ClcClasses) {
        const QString code = QString::fromUtf8(c.code);
        const QString name = QString::fromUtf8(c.name);
        const qint64 id = db.insertReturningId(insertClass, {0, code, name}, QStringLiteral("ID"));
        db.exec(QStringLiteral("insert into ZTR_FLAG (mark,name) values (?,?)"), {code, name}, "Schema::createDelivered");
        const QStringList children = QString::fromUtf8(c.children).split(QLatin1Char('|'));
        for (const QString &child : children) {
            const qsizetype blank = child.indexOf(QLatin1Char(' '));
            db.exec(insertClass, {id, child.left(blank), child.mid(blank + 1)}, "Schema::createDelivered");
        }
    }
}
} // namespace

const QList<TableDef> &tables()
{
    static const QList<TableDef> all = buildTables();
    return all;
}

QString defaultCardBackInfor()
{
    return QStringLiteral("\r                 使用说明\r\r1．借书证只限本人使用，借阅书籍时请出示本证。\r\r"
                          "2．借书证如若丢失，请及时挂失。\r\r3．请爱惜图书。\r\r(用户可在：系统管理->借书证打印设置 进行设置)\r");
}

bool isEmpty(Database &db)
{
    return !db.hasTable(QStringLiteral("用户管理")) && !db.hasTable(QStringLiteral("图书资料"));
}

static QString createIndexSql(const IndexDef &ix, bool unique, bool ifNotExists)
{
    return QStringLiteral("create ") + (unique ? QStringLiteral("unique ") : QString()) + QStringLiteral("index ")
        + (ifNotExists ? QStringLiteral("if not exists ") : QString()) + QString::fromUtf8(ix.name) + QStringLiteral(" on ")
        + QString::fromUtf8(ix.table) + QStringLiteral(" (") + QString::fromUtf8(ix.columns) + QLatin1Char(')');
}

void createIndexes(Database &db)
{
    for (const IndexDef &ix : Indexes)
        db.exec(createIndexSql(ix, ix.unique, true), {}, "Schema::createIndexes");
}

int createMissingIndexes(Database &db)
{
    int made = 0;
    const QSet<QString> existing = db.indexNames();
    QSet<QString> tables;
    for (const QString &t : db.tables())
        tables.insert(t.toLower());
    for (const IndexDef &ix : Indexes) {
        const QString name = QString::fromUtf8(ix.name);
        const QString table = QString::fromUtf8(ix.table);
        const QString columns = QString::fromUtf8(ix.columns);
        if (!tables.contains(table.toLower()) || existing.contains(name.toLower()))
            continue;
        // An index over a column the table lacks waits for that column.
        QSet<QString> have;
        for (const QString &c : db.columns(table))
            have.insert(c.toLower());
        const QStringList wanted = columns.split(QLatin1Char(','));
        if (!std::all_of(wanted.begin(), wanted.end(), [&](const QString &c) { return have.contains(c.toLower()); }))
            continue;
        bool unique = ix.unique;
        if (unique) {
            // An older database may hold the same number twice already: the
            // index then still speeds the look-ups, and the operator can
            // mend the rows; refusing the start would help nobody.
            QString notNull;
            for (const QString &c : wanted)
                notNull += (notNull.isEmpty() ? QString() : QStringLiteral(" and ")) + c + QStringLiteral(" is not null");
            unique = !db.exec(QStringLiteral("select 1 from ") + table + QStringLiteral(" where ") + notNull + QStringLiteral(" group by ")
                                  + columns + QStringLiteral(" having count(*)>1") + db.dialect().limit(1),
                              {}, "Schema::createMissingIndexes")
                          .next();
        }
        db.exec(createIndexSql(ix, unique, false), {}, "Schema::createMissingIndexes");
        ++made;
    }
    return made;
}

void dropIndexes(Database &db)
{
    for (const IndexDef &ix : Indexes)
        db.exec(QStringLiteral("drop index if exists ") + QString::fromUtf8(ix.name), {}, "Schema::dropIndexes");
}

void createDelivered(TBast &bast)
{
    Database &db = *bast.database();
    Transaction tx(db);
    for (const TableDef &t : tables()) {
        const QString name = QString::fromUtf8(t.name);
        const QString spec = t.columns ? QString::fromUtf8(t.columns) : userTableSpec();
        bast.CreateTableIfMissing(name, spec);
    }
    createIndexes(db);

    // The built-in operator with every right.
    const QStringList rights = allRightColumns();
    QString cols = QStringLiteral("用户名,密码");
    QString marks = QStringLiteral("?,?");
    QVariantList values{BuiltInUser, DefaultPasswordDigest};
    for (const QString &r : rights) {
        cols += QLatin1Char(',') + r;
        marks += QStringLiteral(",?");
        values << true;
    }
    db.exec(QStringLiteral("insert into 用户管理 (") + cols + QStringLiteral(") values (") + marks + QLatin1Char(')'), values,
            "Schema::createDelivered");

    db.exec(QStringLiteral("insert into SysParameter (AutoCreateBookNum,AutoCreateMagazineNum,AutoCreateReaderNum,"
                           "B_FrontMark,B_BehindMark,M_FrontMark,M_BehindMark,R_FrontMark,R_BehindMark,"
                           "B_Length,M_Length,R_Length,PageSize,CardTitle,CardBackInfor,"
                           "AutoBookOutTimeWarn,AutoMagazineOutTimeWarn) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {true, true, false, QString(), QString(), QString(), QString(), QString(), QString(), 5, 5, 4, 100,
             DefaultCardTitle, defaultCardBackInfor(), true, true},
            "Schema::createDelivered");
    insertClassification(db);
    tx.commit();
}

} // namespace qandor::Schema
