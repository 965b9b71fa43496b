#include "data/schema.h"
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

QString defaultCardBackInfor()
{
    return QStringLiteral("\r                 使用说明\r\r1．借书证只限本人使用，借阅书籍时请出示本证。\r\r"
                          "2．借书证如若丢失，请及时挂失。\r\r3．请爱惜图书。\r\r(用户可在：系统管理->借书证打印设置 进行设置)\r");
}

} // namespace

const QList<TableDef> &tables()
{
    static const QList<TableDef> all = buildTables();
    return all;
}

bool isEmpty(Database &db)
{
    return !db.hasTable(QStringLiteral("用户管理")) && !db.hasTable(QStringLiteral("图书资料"));
}

void createIndexes(Database &db)
{
    for (const IndexDef &ix : Indexes) {
        db.exec(QStringLiteral("create ") + (ix.unique ? QStringLiteral("unique ") : QString()) + QStringLiteral("index if not exists ")
                    + QString::fromUtf8(ix.name) + QStringLiteral(" on ") + QString::fromUtf8(ix.table) + QStringLiteral(" (")
                    + QString::fromUtf8(ix.columns) + QLatin1Char(')'),
                {}, "Schema::createIndexes");
    }
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
             QStringLiteral("借书证"), defaultCardBackInfor(), true, true},
            "Schema::createDelivered");
    tx.commit();
}

} // namespace qandor::Schema
