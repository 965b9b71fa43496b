#include "gen/generator.h"
#include "gen/bulkload.h"
#include "gen/isbn.h"

#include "circulation/loancharges.h"
#include "data/money.h"
#include "data/schema.h"

#include <QElapsedTimer>
#include <algorithm>
#include <climits>
#include <numeric>
#include <queue>
#include <random>

namespace qandor::gen {

namespace {

const QString Operator = QStringLiteral("超级用户");

// ---------------------------------------------------------------------------
// Randomness: one engine, our own reductions, so a seed means the same
// library on every standard library.
class Rng {
public:
    explicit Rng(quint64 seed) : m_e(seed) {}
    quint64 next() { return m_e(); }
    qint64 below(qint64 n) { return n <= 1 ? 0 : qint64(next() % quint64(n)); }
    qint64 between(qint64 lo, qint64 hi) { return lo + below(hi - lo + 1); }
    double real() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return real() < p; }
    template<typename T, size_t N> const T &pick(const T (&a)[N]) { return a[below(N)]; }

private:
    std::mt19937_64 m_e;
};

QString u(const char *s) { return QString::fromUtf8(s); }

// ---------------------------------------------------------------------------
// Fixed vocabularies.

enum Theme { Lit, Tech, Social, History, Language, Art, Medicine, General, Science };

struct ClassDef {
    const char *code;
    const char *name;
    const char *parent; // "" for a top-level class
    Theme theme;
    int weight;         // share of titles (leaf classes only)
};

const ClassDef Classes[] = {
    {"A", "马克思主义、列宁主义、毛泽东思想、邓小平理论", "", Social, 1},
    {"B", "哲学、宗教", "", Social, 0},
    {"B2", "中国哲学", "B", Social, 2},
    {"B84", "心理学", "B", Social, 3},
    {"C", "社会科学总论", "", Social, 2},
    {"D", "政治、法律", "", Social, 0},
    {"D6", "中国政治", "D", Social, 1},
    {"D9", "法律", "D", Social, 3},
    {"E", "军事", "", History, 1},
    {"F", "经济", "", Social, 0},
    {"F2", "经济管理", "F", Social, 4},
    {"F8", "财政、金融", "F", Social, 3},
    {"G", "文化、科学、教育、体育", "", Social, 0},
    {"G4", "教育", "G", Social, 4},
    {"G8", "体育", "G", Social, 1},
    {"H", "语言、文字", "", Language, 0},
    {"H1", "汉语", "H", Language, 3},
    {"H31", "英语", "H", Language, 4},
    {"I", "文学", "", Lit, 0},
    {"I1", "世界文学", "I", Lit, 3},
    {"I2", "中国文学", "I", Lit, 2},
    {"I24", "中国小说", "I2", Lit, 9},
    {"I26", "中国散文", "I2", Lit, 3},
    {"I3/7", "各国文学", "I", Lit, 6},
    {"J", "艺术", "", Art, 0},
    {"J2", "绘画", "J", Art, 2},
    {"J6", "音乐", "J", Art, 2},
    {"K", "历史、地理", "", History, 0},
    {"K2", "中国史", "K", History, 5},
    {"K9", "地理", "K", History, 2},
    {"N", "自然科学总论", "", Science, 1},
    {"O", "数理科学和化学", "", Science, 0},
    {"O1", "数学", "O", Science, 3},
    {"O4", "物理学", "O", Science, 2},
    {"O6", "化学", "O", Science, 1},
    {"P", "天文学、地球科学", "", Science, 1},
    {"Q", "生物科学", "", Science, 1},
    {"R", "医药、卫生", "", Medicine, 0},
    {"R2", "中国医学", "R", Medicine, 2},
    {"R5", "内科学", "R", Medicine, 2},
    {"S", "农业科学", "", Science, 1},
    {"T", "工业技术", "", Tech, 0},
    {"TN", "无线电电子学、电信技术", "T", Tech, 2},
    {"TP", "自动化技术、计算机技术", "T", Tech, 0},
    {"TP3", "计算技术、计算机技术", "TP", Tech, 0},
    {"TP31", "计算机软件", "TP3", Tech, 6},
    {"TP39", "计算机的应用", "TP3", Tech, 3},
    {"TU", "建筑科学", "T", Tech, 1},
    {"U", "交通运输", "", Tech, 1},
    {"V", "航空、航天", "", Tech, 1},
    {"X", "环境科学、安全科学", "", Science, 1},
    {"Z", "综合性图书", "", General, 2},
};
constexpr int ClassCount = int(sizeof(Classes) / sizeof(Classes[0]));

struct Publisher {
    const char *code; // publisher part of the ISBN after group 7
    const char *name;
    const char *city;
};

const Publisher Publishers[] = {
    {"01", "人民出版社", "北京"},
    {"02", "人民文学出版社", "北京"},
    {"03", "科学出版社", "北京"},
    {"04", "高等教育出版社", "北京"},
    {"100", "商务印书馆", "北京"},
    {"101", "中华书局", "北京"},
    {"108", "生活·读书·新知三联书店", "北京"},
    {"111", "机械工业出版社", "北京"},
    {"115", "人民邮电出版社", "北京"},
    {"117", "人民卫生出版社", "北京"},
    {"121", "电子工业出版社", "北京"},
    {"208", "上海人民出版社", "上海"},
    {"301", "北京大学出版社", "北京"},
    {"302", "清华大学出版社", "北京"},
    {"309", "复旦大学出版社", "上海"},
    {"5063", "作家出版社", "北京"},
    {"5086", "中信出版社", "北京"},
    {"5327", "上海译文出版社", "上海"},
    {"5339", "浙江文艺出版社", "杭州"},
    {"5354", "长江文艺出版社", "武汉"},
    {"5442", "南海出版公司", "海口"},
    {"5447", "译林出版社", "南京"},
    {"5594", "江苏凤凰文艺出版社", "南京"},
};
constexpr int PublisherCount = int(sizeof(Publishers) / sizeof(Publishers[0]));

const char *const Surnames[] = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴", "徐", "孙", "胡", "朱", "高",
                                "林", "何", "郭", "马", "罗", "梁", "宋", "郑", "谢", "韩", "唐", "冯", "于", "董", "萧",
                                "程", "曹", "袁", "邓", "许", "傅", "沈", "曾", "彭", "吕", "苏", "卢", "蒋", "蔡", "贾",
                                "丁", "魏", "薛", "叶", "阎", "余", "潘", "杜", "戴", "夏", "钟", "汪", "田", "任", "姜",
                                "范", "方", "石", "姚", "谭", "廖", "邹", "熊", "金", "陆", "郝", "孔", "白", "崔", "欧阳"};
const char *const GivenMale[] = {"伟", "强", "磊", "军", "洋", "勇", "杰", "涛", "明", "超", "刚", "建国", "志强", "鹏",
                                 "宇", "浩", "俊", "斌", "亮", "飞", "晨", "阳", "子轩", "梓涵", "思远", "文博", "家豪", "国栋"};
const char *const GivenFemale[] = {"芳", "娜", "秀英", "敏", "静", "丽", "艳", "娟", "霞", "平", "桂英", "海燕", "红", "玉兰",
                                   "欣", "怡", "雨桐", "一诺", "婷", "丹", "琳", "凤", "晓雯", "梦琪", "诗涵", "佳怡", "雅琴"};

const char *const LitA[] = {"平凡的", "沉默的", "远方的", "北方的", "最后的", "消失的", "城南", "长河", "草原", "江南",
                            "秋天的", "白色的", "遥远的", "故乡的", "一个人的", "寂静的", "燃烧的", "风中的", "黄金",
                            "边城", "小城", "老街", "月光下的", "雪国的"};
const char *const LitB[] = {"世界", "故事", "河流", "旧事", "村庄", "少年", "来信", "灯火", "岁月", "花园", "雨季",
                            "山谷", "往事", "春天", "时代", "旅程", "家族", "女儿", "星空", "围城", "日记", "传说"};
const char *const TechA[] = {"数据结构", "操作系统", "计算机网络", "C++程序设计", "数据库系统", "机器学习", "算法",
                             "编译原理", "软件工程", "Linux系统管理", "Python编程", "电路分析", "自动控制原理",
                             "数字信号处理", "人工智能", "嵌入式系统", "Java核心技术", "深度学习", "分布式系统",
                             "建筑结构", "汽车构造", "单片机原理"};
const char *const TechB[] = {"教程", "导论", "原理与实践", "实用手册", "入门", "概论", "从入门到精通", "习题集",
                             "设计与实现", "基础", "实战", "精粹"};
const char *const SocialA[] = {"经济学原理", "管理学", "社会学", "市场营销", "国际贸易", "会计学", "金融学", "公共政策",
                               "宪法学", "民法", "教育心理学", "儿童心理学", "中国哲学", "伦理学", "广告学",
                               "人力资源管理", "投资学", "体育训练学"};
const char *const SocialB[] = {"概论", "教程", "案例分析", "基础", "新论", "研究", "讲义", "通识", "十讲"};
const char *const HistA[] = {"秦汉", "唐宋", "明清", "民国", "先秦", "魏晋", "宋元", "近代中国", "古罗马", "欧洲",
                             "丝绸之路", "长安", "江南", "中国地理", "世界"};
const char *const HistB[] = {"史", "史纲", "社会生活", "人物志", "风云", "文化史", "通史", "往事", "地理", "简史"};
const char *const LangA[] = {"现代汉语", "古代汉语", "英语语法", "日语", "汉字", "英语写作", "英语阅读", "新概念英语",
                             "成语", "普通话"};
const char *const LangB[] = {"词典", "教程", "手册", "入门", "精讲", "800题", "速成", "大全"};
const char *const ArtA[] = {"中国书法", "素描", "摄影", "西方美术", "中国画", "音乐欣赏", "电影", "钢琴", "水彩画"};
const char *const ArtB[] = {"基础", "史", "技法", "鉴赏", "教程", "入门"};
const char *const MedA[] = {"内科学", "中医基础理论", "药理学", "营养学", "家庭医生", "儿科学", "针灸学", "本草纲目"};
const char *const MedB[] = {"", "手册", "教程", "百科", "精要", "图解"};
const char *const SciA[] = {"高等数学", "线性代数", "概率论", "普通物理学", "有机化学", "天文学", "地质学", "生物学",
                            "植物学", "环境科学", "时间", "宇宙", "生命"};
const char *const SciB[] = {"", "教程", "导论", "简史", "基础", "的奥秘", "趣谈"};
const char *const GenA[] = {"中国大百科全书", "十万个为什么", "辞海", "新华字典", "中国年鉴", "百科知识"};
const char *const GenB[] = {"", "（精编版）", "（少儿版）", "（第2卷）"};

const char *const Departments[] = {"计算机学院", "外国语学院", "机械工程学院", "经济管理学院", "文学院", "理学院",
                                   "医学院", "图书馆", "行政办公室", "后勤服务中心", "社区居民", "第一中学"};
const char *const Locations[] = {"一楼书库A区", "一楼书库B区", "二楼文学区", "二楼科技区", "三楼社科区", "三楼工具书区"};
const char *const MagLocations[] = {"期刊阅览室", "过刊库"};
const char *const Cities[] = {"北京市海淀区", "上海市徐汇区", "南京市鼓楼区", "杭州市西湖区", "武汉市洪山区",
                              "成都市武侯区", "西安市雁塔区", "广州市天河区"};
const char *const Streets[] = {"中山路", "人民路", "解放路", "建设路", "学院路", "文化路", "长江路", "和平路"};
const char *const Formats[] = {"16开", "32开", "大32开", "16开", "32开"};

struct TypeDef {
    const char *name;
    const char *deposit;
    int bookMax, bookDays;
    const char *bookRent, *bookFine;
    int magMax, magDays;
    const char *magRent, *magFine;
    const char *limit;
    int months;
    bool prepaid;
    const char *price;
    int quota;
    int share; // percent of readers
};

const TypeDef Types[] = {
    {"普通读者", "50", 5, 30, "0.10", "0.10", 3, 15, "0.05", "0.05", "无", 12, false, "0", 0, 44},
    {"学生读者", "20", 3, 30, "0", "0.05", 2, 14, "0", "0.05", "有", 48, false, "0", 0, 20},
    {"教师读者", "0", 10, 60, "0", "0", 5, 30, "0", "0", "无", 12, false, "0", 0, 6},
    {"租书会员", "100", 4, 15, "0.35", "0.50", 2, 7, "0.20", "0.30", "有", 12, false, "0", 0, 15},
    {"包月读者", "50", 5, 30, "0", "0.20", 3, 15, "0", "0.10", "有", 1, true, "30.00", 20, 10},
    {"包年读者", "100", 8, 30, "0", "0.20", 4, 15, "0", "0.10", "有", 12, true, "150.00", 150, 5},
};
constexpr int TypeCount = int(sizeof(Types) / sizeof(Types[0]));

struct MagDef {
    const char *name;
    const char *freq;
    int interval; // days between issues
    const char *cls;
    const char *editor;
    const char *publisher;
    const char *city;
    const char *price;
};

const MagDef Magazines[] = {
    {"读者", "半月刊", 15, "Z", "刘永胜", "读者出版集团", "兰州", "6.00"},
    {"青年文摘", "半月刊", 15, "Z", "杨晓东", "中国青年出版总社", "北京", "6.00"},
    {"中国国家地理", "月刊", 30, "K9", "李栓科", "中国国家地理杂志社", "北京", "30.00"},
    {"收获", "双月刊", 60, "I24", "程永新", "收获文学杂志社", "上海", "25.00"},
    {"小说月报", "月刊", 30, "I24", "马津海", "百花文艺出版社", "天津", "12.00"},
    {"人民文学", "月刊", 30, "I2", "施战军", "人民文学杂志社", "北京", "15.00"},
    {"计算机学报", "月刊", 30, "TP31", "孙凝晖", "科学出版社", "北京", "60.00"},
    {"程序员", "月刊", 30, "TP31", "蒋涛", "程序员杂志社", "北京", "15.00"},
    {"三联生活周刊", "周刊", 7, "C", "李鸿谷", "三联生活周刊杂志社", "北京", "15.00"},
    {"环球科学", "月刊", 30, "N", "陈宗周", "环球科学杂志社", "北京", "20.00"},
    {"故事会", "半月刊", 15, "I26", "夏一鸣", "上海文艺出版社", "上海", "4.50"},
    {"大众医学", "月刊", 30, "R", "贾永兴", "上海科学技术出版社", "上海", "8.00"},
    {"英语世界", "月刊", 30, "H31", "陈国华", "商务印书馆", "北京", "10.00"},
    {"财经", "半月刊", 15, "F8", "王波明", "财经杂志社", "北京", "15.00"},
    {"历史研究", "双月刊", 60, "K2", "高翔", "中国社会科学杂志社", "北京", "40.00"},
    {"体育画报", "月刊", 30, "G8", "赵刚", "体育画报杂志社", "北京", "20.00"},
};
constexpr int MagazineCount = int(sizeof(Magazines) / sizeof(Magazines[0]));

QStringList cols(const char *list) { return u(list).split(QLatin1Char(',')); }

// ---------------------------------------------------------------------------
// The library being built.

struct Title {
    QString name, author, isbnShown, isbn13, pages, format, edition;
    int cls = 0, pub = 0, year = 2000, serial = 0, intakeDay = 0;
    Money price;
    bool disc = false;
};

struct Reader {
    QString number, name, sex;
    int type = 0;
    int issueDay = 0;
    int expiryDay = INT_MAX;  // card validity end for non-prepaid types with a limit
    int lostFrom = INT_MAX, lostUntil = INT_MAX;
    int stopDay = INT_MAX;    // stops borrowing (a reader who will hand the card back)
    bool canceller = false;
    bool cancelled = false;
    int open[2] = {0, 0};
    int borrowCount = 0;      // 借阅次数: loans and renewals
    int lastReturn = 0;
    // Prepaid quota.
    bool toppedUp = false;
    int quotaBought = 0, quotaLeft = 0, quotaUsed = 0, validUntil = 0;
    int record = -1;
};

struct TopUp {
    int reader, day, quota, left, used, validUntil;
};

struct Returned {
    int day, reader, kind;
    bool operator>(const Returned &o) const { return day > o.day; }
};

// The validity rule of the desk, on day numbers.
int monthsLater(int day, int months)
{
    return int(validUntil(QDate::fromJulianDay(day), months).toJulianDay());
}

QVariant dateV(int day) { return QDate::fromJulianDay(day); }
QVariant money(Money m) { return QVariant::fromValue(m); }
Money moneyOf(const char *text) { return *Money::parse(QString::fromLatin1(text)); }

QString padded(qint64 n, int width) { return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0')); }

int widthFor(qint64 count, int minimum)
{
    int w = 1;
    for (qint64 n = count; n >= 10; n /= 10)
        ++w;
    return std::max(w, minimum);
}

class Builder {
public:
    Builder(TBast &bast, const GenOptions &o) : m_db(*bast.database()), m_o(o), m_rng(o.seed) {}

    GenSummary run();

private:
    void say(const QString &text)
    {
        if (m_o.progress)
            m_o.progress(text);
    }
    void progress(const char *what, qint64 done, qint64 total)
    {
        if (!m_o.progress || total <= 0)
            return;
        if (done == total || m_tick.elapsed() > 2000) {
            m_tick.restart();
            say(u(what) + QStringLiteral(" %1/%2").arg(done).arg(total));
        }
    }

    void writeLookups();
    void buildTitles();
    void buildMagazines();
    void buildReaders();
    void simulateLoans();
    void finishReaders();
    void writeCopies();
    void writeMagazines();
    void writeReaders();
    void writeTopUps();
    void writeReservationsAndEvents();

    QString personName(Rng &r, bool male)
    {
        return u(r.pick(Surnames)) + u(male ? r.pick(GivenMale) : r.pick(GivenFemale));
    }
    QString makeTitle(Theme theme);
    bool eligible(Reader &rd, int day, int kind, bool &needsTopUp);
    int pickReader();
    int pickCopy(int kind, int day);
    void topUp(int readerIndex, int day);

    Database &m_db;
    const GenOptions &m_o;
    Rng m_rng;
    QElapsedTimer m_tick;
    GenSummary m_sum;
    int m_today = 0, m_start = 0;

    QList<int> m_classIds;      // 书籍类别.ID per class
    QList<int> m_leafClasses;   // weighted pick list of leaf classes
    QList<int> m_classSerial;   // 种次号 counters per class
    QList<int> m_pubSerial;     // title counters per publisher

    std::vector<Title> m_titles;
    std::vector<qint32> m_copyTitle, m_copyAvail, m_copyLent;
    std::vector<char> m_copyState; // 0 在馆, 1 借出, 2 预定
    QString m_copyWidthFmt;
    int m_copyWidth = 5, m_magWidth = 5, m_readerWidth = 4;

    // Magazine copies: title, issue day, issue number in its year, running number.
    std::vector<qint16> m_magTitle;
    std::vector<qint32> m_magDay, m_magNo, m_magTotal, m_magAvail, m_magLent;
    std::vector<char> m_magState;
    QStringList m_magIssn, m_magClsName;

    std::vector<Reader> m_readers;
    std::vector<TopUp> m_topUps;
    qint64 m_readerScramble = 1, m_titleScramble = 1;

    struct Reservation {
        int reader, copy, kind, day;
        const char *status;
    };
    std::vector<Reservation> m_reservations;

    Money m_bookRent[TypeCount], m_bookFine[TypeCount], m_magRent[TypeCount], m_magFine[TypeCount];
};

QString Builder::makeTitle(Theme theme)
{
    Rng &r = m_rng;
    QString t;
    switch (theme) {
    case Lit:
        t = r.chance(0.7) ? u(r.pick(LitA)) + u(r.pick(LitB)) : u(r.pick(LitB)) + u(r.pick(LitB));
        if (r.chance(0.1))
            t += QStringLiteral("（上册）");
        break;
    case Tech: t = u(r.pick(TechA)) + u(r.pick(TechB)); break;
    case Social: t = u(r.pick(SocialA)) + u(r.pick(SocialB)); break;
    case History: t = u(r.pick(HistA)) + u(r.pick(HistB)); break;
    case Language: t = u(r.pick(LangA)) + u(r.pick(LangB)); break;
    case Art: t = u(r.pick(ArtA)) + u(r.pick(ArtB)); break;
    case Medicine: t = u(r.pick(MedA)) + u(r.pick(MedB)); break;
    case Science: t = u(r.pick(SciA)) + u(r.pick(SciB)); break;
    case General: t = u(r.pick(GenA)) + u(r.pick(GenB)); break;
    }
    if (theme != Lit && theme != General && r.chance(0.25))
        t += QStringLiteral("（第%1版）").arg(r.between(2, 6));
    return t;
}

void Builder::writeLookups()
{
    // Classification tree: parents first, so each child knows its parent's ID.
    QHash<QString, int> idByCode;
    for (int i = 0; i < ClassCount; ++i) {
        const ClassDef &c = Classes[i];
        const int parent = *c.parent ? idByCode.value(u(c.parent)) : 0;
        const int id = int(m_db.insertReturningId(QStringLiteral("insert into 书籍类别 (父类,分类号,分类名) values (?,?,?)"),
                                                  {parent, u(c.code), u(c.name)}, QStringLiteral("ID")));
        idByCode.insert(u(c.code), id);
        m_classIds << id;
        for (int w = 0; w < c.weight; ++w)
            m_leafClasses << i;
    }
    m_classSerial = QList<int>(ClassCount, 0);
    m_db.exec(QStringLiteral("insert into ZTR_FLAG (mark,name) select 分类号,分类名 from 书籍类别 where 父类=0"));

    for (const Publisher &p : Publishers)
        m_db.exec(QStringLiteral("insert into 出版社 (ISBN,出版社名称,所在地) values (?,?,?)"),
                  {QString(QStringLiteral("7-") + u(p.code)), u(p.name), u(p.city)});
    m_pubSerial = QList<int>(PublisherCount, 0);

    for (const TypeDef &t : Types)
        m_db.exec(QStringLiteral("insert into 读者类型 (类型名称,办证押金,图书可借数量,图书可借天数,图书每日租金,图书超期罚金,"
                                 "期刊可借数量,期刊可借天数,期刊每日租金,期刊超期罚金,期限限制,有效期限,包租,包租金,包租量) "
                                 "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                  {u(t.name), money(moneyOf(t.deposit)), t.bookMax, t.bookDays, money(moneyOf(t.bookRent)),
                   money(moneyOf(t.bookFine)), t.magMax, t.magDays, money(moneyOf(t.magRent)), money(moneyOf(t.magFine)),
                   u(t.limit), t.months, t.prepaid, money(moneyOf(t.price)), t.quota});
    for (int i = 0; i < TypeCount; ++i) {
        m_bookRent[i] = moneyOf(Types[i].bookRent);
        m_bookFine[i] = moneyOf(Types[i].bookFine);
        m_magRent[i] = moneyOf(Types[i].magRent);
        m_magFine[i] = moneyOf(Types[i].magFine);
    }

    for (const char *d : Departments)
        m_db.exec(QStringLiteral("insert into 单位部门 (名称) values (?)"), {u(d)});
    for (const char *f : {"周刊", "半月刊", "月刊", "双月刊", "季刊"})
        m_db.exec(QStringLiteral("insert into 刊期类别 (刊期类别) values (?)"), {u(f)});
    for (const char *s : {"公开", "内部"})
        m_db.exec(QStringLiteral("insert into 密级 (密级名称) values (?)"), {u(s)});
    for (const char *l : Locations)
        m_db.exec(QStringLiteral("insert into 存放位置 (位置) values (?)"), {u(l)});
    for (const char *l : MagLocations)
        m_db.exec(QStringLiteral("insert into 存放位置 (位置) values (?)"), {u(l)});
    m_db.exec(QStringLiteral("insert into placard (公告内容,公告时间) values (?,?)"),
              {QStringLiteral("本馆开放时间：周一至周日 8:30-21:00，节假日另行通知。"), dateV(m_start)});
}

void Builder::buildTitles()
{
    // Several copies per title: 1 to 6, most often 2 or 3.
    static const int CopiesPick[] = {1, 1, 2, 2, 2, 3, 3, 3, 4, 5, 6};
    qint64 made = 0;
    m_copyTitle.reserve(m_o.copies);
    while (made < m_o.copies) {
        Title t;
        t.cls = m_leafClasses.at(int(m_rng.below(m_leafClasses.size())));
        const Theme theme = Classes[t.cls].theme;
        t.name = makeTitle(theme);
        t.pub = int(m_rng.below(PublisherCount));
        const bool male = m_rng.chance(0.6);
        const QString who = personName(m_rng, male);
        static const char *const Roles[] = {" 著", " 著", " 著", " 编著", " 主编", " 译"};
        t.author = who + u(m_rng.pick(Roles));
        t.year = int(m_rng.between(1985, m_o.today.year()));
        // ISBN: group 7, the publisher's code, a title number, a check digit.
        const QString pubCode = u(Publishers[t.pub].code);
        const int titleDigits = 8 - int(pubCode.size());
        int mod = 1;
        for (int i = 0; i < titleDigits; ++i)
            mod *= 10;
        const int serial = int((m_pubSerial[t.pub]++ * 7 + m_rng.below(7)) % mod);
        const QString titleNo = padded(serial, titleDigits);
        const QString nine = QStringLiteral("7") + pubCode + titleNo;
        const QString twelve = QStringLiteral("978") + nine;
        t.isbn13 = twelve + isbn13CheckDigit(twelve);
        if (t.year < 2007)
            t.isbnShown = QStringLiteral("7-") + pubCode + QLatin1Char('-') + titleNo + QLatin1Char('-') + isbn10CheckDigit(nine);
        else
            t.isbnShown = QStringLiteral("978-7-") + pubCode + QLatin1Char('-') + titleNo + QLatin1Char('-') + t.isbn13.right(1);
        const qint64 yuan = theme == Tech ? m_rng.between(29, 128) : m_rng.between(12, 68);
        static const int Cents[] = {0, 0, 50, 80, 90, 0};
        t.price = Money::fromFen(yuan * 100 + m_rng.pick(Cents));
        t.pages = QString::number(m_rng.between(120, 860));
        t.format = u(m_rng.pick(Formats));
        t.edition = QStringLiteral("第%1版").arg(m_rng.chance(0.8) ? 1 : m_rng.between(2, 5));
        t.disc = theme == Tech && m_rng.chance(0.15);
        t.serial = ++m_classSerial[t.cls];
        // Catalogued some time before today, within the last years plus one.
        const int earliest = std::max(m_start - 365, int(QDate(t.year, 1, 1).toJulianDay()));
        t.intakeDay = int(m_rng.between(std::min(earliest, m_today), m_today));
        const int n = int(std::min<qint64>(m_rng.pick(CopiesPick), m_o.copies - made));
        const int idx = int(m_titles.size());
        for (int c = 0; c < n; ++c)
            m_copyTitle.push_back(idx);
        made += n;
        m_titles.push_back(std::move(t));
    }
    m_copyAvail.resize(m_copyTitle.size());
    for (size_t c = 0; c < m_copyTitle.size(); ++c)
        m_copyAvail[c] = m_titles[m_copyTitle[c]].intakeDay;
    m_copyLent.assign(m_copyTitle.size(), 0);
    m_copyState.assign(m_copyTitle.size(), 0);
    m_copyWidth = widthFor(m_o.copies, 5);
    // A stride coprime with the title count spreads popularity over the catalogue.
    const qint64 nt = qint64(m_titles.size());
    m_titleScramble = nt > 1 ? 7919 : 1;
    while (nt > 1 && std::gcd(m_titleScramble, nt) != 1)
        m_titleScramble += 2;
}

void Builder::buildMagazines()
{
    const qint64 n = m_o.magazines < 0 ? m_o.copies / 10 : m_o.magazines;
    for (const MagDef &m : Magazines) {
        QString clsName;
        for (const ClassDef &c : Classes)
            if (qstrcmp(c.code, m.cls) == 0)
                clsName = u(c.name);
        m_magClsName << clsName;
        // ISSN: 7 digits and a check character.
        const QString seven = padded(1000000 + m_rng.below(8999999), 7);
        const QString issn = seven + issnCheckDigit(seven);
        m_magIssn << issn.left(4) + QLatin1Char('-') + issn.mid(4);
    }
    const qint64 issues = (n + 1) / 2;
    const qint64 perTitle = std::max<qint64>(1, (issues + MagazineCount - 1) / MagazineCount);
    for (qint64 c = 0; c < n; ++c) {
        const qint64 issue = c / 2; // two copies of each issue
        const int m = int(issue % MagazineCount);
        const qint64 k = issue / MagazineCount;
        const int day = int(m_today - 5 - (perTitle - 1 - k) * Magazines[m].interval);
        const QDate date = QDate::fromJulianDay(day);
        m_magTitle.push_back(qint16(m));
        m_magDay.push_back(day);
        m_magNo.push_back((date.dayOfYear() - 1) / Magazines[m].interval + 1);
        m_magTotal.push_back(int(100 + k + m * 37));
        m_magAvail.push_back(day + 3); // on the shelf three days after it appears
    }
    m_magLent.assign(n, 0);
    m_magState.assign(n, 0);
    m_magWidth = widthFor(n, 5);
}

void Builder::buildReaders()
{
    int cumulative[TypeCount];
    int total = 0;
    for (int i = 0; i < TypeCount; ++i)
        cumulative[i] = (total += Types[i].share);
    m_readerWidth = widthFor(m_o.readers, 4);
    m_readers.resize(m_o.readers);
    for (qint64 i = 0; i < m_o.readers; ++i) {
        Reader &r = m_readers[i];
        r.number = padded(i + 1, m_readerWidth);
        const bool male = m_rng.chance(0.5);
        r.sex = male ? QStringLiteral("男") : QStringLiteral("女");
        r.name = personName(m_rng, male);
        const int roll = int(m_rng.below(total));
        r.type = 0;
        while (roll >= cumulative[r.type])
            ++r.type;
        const TypeDef &t = Types[r.type];
        // Cards issued from a year before the history starts up to yesterday,
        // numbered in issue order.
        r.issueDay = int(m_start - 365 + (i * (m_today - 1 - (m_start - 365))) / std::max<qint64>(1, m_o.readers));
        if (!t.prepaid && u(t.limit) == QStringLiteral("有"))
            r.expiryDay = monthsLater(r.issueDay, t.months);
        if (!t.prepaid && u(t.limit) == QStringLiteral("无")) {
            const double roll2 = m_rng.real();
            if (roll2 < 0.01) { // card reported lost recently and not found yet
                r.lostFrom = int(m_today - m_rng.below(60));
                r.lostFrom = std::max(r.lostFrom, r.issueDay + 1);
                r.lostUntil = INT_MAX;
            } else if (roll2 < 0.04 && m_today - r.issueDay > 20) { // lost and found again
                r.lostFrom = int(m_rng.between(r.issueDay + 1, m_today - 10));
                r.lostUntil = r.lostFrom + int(m_rng.between(1, 7));
            } else if (roll2 < 0.05) {
                r.canceller = true;
                r.stopDay = int(m_rng.between(r.issueDay, m_today));
            }
        }
    }
    const qint64 nr = m_o.readers;
    m_readerScramble = nr > 1 ? 104729 : 1;
    while (nr > 1 && std::gcd(m_readerScramble, nr) != 1)
        m_readerScramble += 2;
}

int Builder::pickReader()
{
    // Some readers borrow far more than others.
    const double x = m_rng.real();
    const qint64 n = qint64(m_readers.size());
    const qint64 rank = std::min<qint64>(n - 1, qint64(double(n) * x * x));
    return int((rank * m_readerScramble) % n);
}

int Builder::pickCopy(int kind, int day)
{
    if (kind == 0) {
        const qint64 nt = qint64(m_titles.size());
        for (int tries = 0; tries < 12; ++tries) {
            int copy;
            if (tries < 6) {
                const double x = m_rng.real();
                const qint64 rank = std::min<qint64>(nt - 1, qint64(double(nt) * x * x));
                const int title = int((rank * m_titleScramble) % nt);
                // Copies of a title are consecutive: find its first one.
                auto first = std::lower_bound(m_copyTitle.begin(), m_copyTitle.end(), title);
                auto last = std::upper_bound(first, m_copyTitle.end(), title);
                copy = int(first - m_copyTitle.begin()) + int(m_rng.below(last - first));
            } else {
                copy = int(m_rng.below(qint64(m_copyTitle.size())));
            }
            if (m_copyAvail[copy] <= day)
                return copy;
        }
        return -1;
    }
    const qint64 n = qint64(m_magTitle.size());
    for (int tries = 0; tries < 12; ++tries) {
        // Recent issues are wanted most.
        const double x = m_rng.real();
        const int copy = int(n - 1 - std::min<qint64>(n - 1, qint64(double(n) * x * x)));
        if (m_magAvail[copy] <= day)
            return copy;
    }
    return -1;
}

bool Builder::eligible(Reader &rd, int day, int kind, bool &needsTopUp)
{
    needsTopUp = false;
    const TypeDef &t = Types[rd.type];
    if (day < rd.issueDay || day >= rd.stopDay || day >= rd.expiryDay)
        return false;
    if (day >= rd.lostFrom && day < rd.lostUntil)
        return false;
    if (rd.open[kind] >= (kind == 0 ? t.bookMax : t.magMax))
        return false;
    if (t.prepaid && (!rd.toppedUp || rd.quotaLeft <= 0 || day >= rd.validUntil)) {
        // Out of quota: most readers buy a new one at the desk.
        if (!m_rng.chance(0.85))
            return false;
        needsTopUp = true;
    }
    return true;
}

void Builder::topUp(int readerIndex, int day)
{
    Reader &rd = m_readers[readerIndex];
    const TypeDef &t = Types[rd.type];
    rd.toppedUp = true;
    rd.quotaBought = t.quota;
    rd.quotaLeft = t.quota;
    rd.quotaUsed = 0;
    rd.validUntil = monthsLater(day, t.months);
    rd.record = int(m_topUps.size());
    m_topUps.push_back({readerIndex, day, t.quota, t.quota, 0, rd.validUntil});
}

void Builder::simulateLoans()
{
    const auto bookLoans = BulkLoad::open(m_db, QStringLiteral("图书借阅信息"),
                         cols("状态,读者类型,读者编号,姓名,性别,图书编号,图书名称,标准ISBN,分类名,借出日期,应还日期,实还日期,"
                              "借阅天数,借阅租金,超期天数,超期罚金,操作员"));
    const auto magLoans = BulkLoad::open(m_db, QStringLiteral("期刊借阅信息"),
                        cols("状态,读者类型,读者编号,姓名,性别,期刊编号,期刊名称,刊次,标准ISBN,分类名,借出日期,应还日期,实还日期,"
                             "借阅天数,借阅租金,超期天数,超期罚金,操作员"));
    const auto bookRenewals = BulkLoad::open(m_db, QStringLiteral("图书续借记录"),
                            cols("续借日期,读者编号,读者类型,读者姓名,读者性别,图书编号,图书名称,标准ISBN,分类名,借阅日期,"
                                 "续借前应还日期,续借后应还日期,操作员"));
    const auto magRenewals = BulkLoad::open(m_db, QStringLiteral("期刊续借记录"),
                           cols("续借日期,读者编号,读者类型,读者姓名,读者性别,期刊编号,期刊名称,刊次,标准ISBN,分类名,借阅日期,"
                                "续借前应还日期,续借后应还日期,操作员"));

    std::priority_queue<Returned, std::vector<Returned>, std::greater<Returned>> returns;
    const qint64 span = m_today - m_start + 1;
    const bool haveMagazines = !m_magTitle.empty();
    const QVariant nullDate(QMetaType(QMetaType::QDate));
    const QString open = QStringLiteral("未还"), back = QStringLiteral("已还");

    for (qint64 i = 0; i < m_o.loans; ++i) {
        progress("借阅记录", i + 1, m_o.loans);
        const int day = int(m_start + (i * span) / m_o.loans);
        while (!returns.empty() && returns.top().day <= day) {
            --m_readers[returns.top().reader].open[returns.top().kind];
            returns.pop();
        }
        // Magazines only exist for the last issues: before those, the slot goes to a book.
        int kind = haveMagazines && m_rng.chance(0.12) ? 1 : 0;
        int copy = pickCopy(kind, day);
        if (copy < 0 && kind == 1) {
            kind = 0;
            copy = pickCopy(kind, day);
        }
        int ri = -1;
        bool needsTopUp = false;
        for (int tries = 0; copy >= 0 && tries < 40 && ri < 0; ++tries) {
            const int cand = pickReader();
            if (eligible(m_readers[cand], day, kind, needsTopUp))
                ri = cand;
        }
        if (ri < 0) {
            ++m_sum.skippedLoans;
            continue;
        }
        Reader &rd = m_readers[ri];
        const TypeDef &t = Types[rd.type];
        if (needsTopUp)
            topUp(ri, day);
        if (t.prepaid) {
            --rd.quotaLeft;
            ++rd.quotaUsed;
            TopUp &rec = m_topUps[rd.record];
            --rec.left;
            ++rec.used;
        }

        // The loan's life: renewals, then the return (or still out today).
        const int period = kind == 0 ? t.bookDays : t.magDays;
        int due = int(loanDueDate(QDate::fromJulianDay(day), period).toJulianDay());
        int last = day;
        const int renewals = m_rng.chance(0.12) ? (m_rng.chance(0.25) ? 2 : 1) : 0;
        int renewDay[2], renewOld[2], renewNew[2], renewed = 0;
        for (int k = 0; k < renewals; ++k) {
            const int r = last + 1 + int(m_rng.below(std::max(1, period)));
            if (r > m_today)
                break;
            renewDay[renewed] = r;
            renewOld[renewed] = due;
            due = int(loanDueDate(QDate::fromJulianDay(r), period).toJulianDay());
            renewNew[renewed] = due;
            last = r;
            ++renewed;
        }
        const double x = m_rng.real();
        int ret;
        if (x < 0.03)
            ret = last;
        else if (x < 0.82)
            ret = last + 1 + int(m_rng.below(std::max(1, due - last)));
        else
            ret = due + 1 + int(m_rng.below(45));
        const bool stillOut = ret > m_today;

        rd.borrowCount += 1 + renewed;
        ++rd.open[kind];
        if (stillOut) {
            ++m_sum.openLoans;
        } else {
            returns.push({ret, ri, kind});
            rd.lastReturn = std::max(rd.lastReturn, ret);
        }

        LoanCharges ch;
        if (!stillOut)
            ch = computeLoanCharges(QDate::fromJulianDay(ret), QDate::fromJulianDay(day), QDate::fromJulianDay(due),
                                    kind == 0 ? m_bookRent[rd.type] : m_magRent[rd.type],
                                    kind == 0 ? m_bookFine[rd.type] : m_magFine[rd.type]);
        const QString typeName = u(t.name);
        if (kind == 0) {
            const Title &ti = m_titles[m_copyTitle[copy]];
            const QString number = padded(copy + 1, m_copyWidth);
            const QString clsName = u(Classes[ti.cls].name);
            bookLoans->add({stillOut ? open : back, typeName, rd.number, rd.name, rd.sex, number, ti.name, ti.isbnShown,
                           clsName, dateV(day), dateV(due), stillOut ? nullDate : dateV(ret),
                           stillOut ? 0 : ch.shownDays, money(ch.rent), stillOut ? 0 : ch.overdueDays, money(ch.fine),
                           Operator});
            for (int k = 0; k < renewed; ++k)
                bookRenewals->add({dateV(renewDay[k]), rd.number, typeName, rd.name, rd.sex, number, ti.name, ti.isbnShown,
                                  clsName, dateV(day), dateV(renewOld[k]), dateV(renewNew[k]), Operator});
            ++m_copyLent[copy];
            if (stillOut) {
                m_copyAvail[copy] = INT_MAX;
                m_copyState[copy] = 1;
            } else {
                m_copyAvail[copy] = ret;
            }
            ++m_sum.bookLoans;
        } else {
            const MagDef &m = Magazines[m_magTitle[copy]];
            const QString number = padded(copy + 1, m_magWidth);
            const QString issue = QStringLiteral("%1年第%2期").arg(QDate::fromJulianDay(m_magDay[copy]).year()).arg(m_magNo[copy]);
            const QString &magCls = m_magClsName.at(m_magTitle[copy]);
            magLoans->add({stillOut ? open : back, typeName, rd.number, rd.name, rd.sex, number, u(m.name), issue,
                          m_magIssn.at(m_magTitle[copy]), magCls, dateV(day), dateV(due), stillOut ? nullDate : dateV(ret),
                          stillOut ? 0 : ch.shownDays, money(ch.rent), stillOut ? 0 : ch.overdueDays, money(ch.fine),
                          Operator});
            for (int k = 0; k < renewed; ++k)
                magRenewals->add({dateV(renewDay[k]), rd.number, typeName, rd.name, rd.sex, number, u(m.name), issue,
                                 m_magIssn.at(m_magTitle[copy]), magCls, dateV(day), dateV(renewOld[k]),
                                 dateV(renewNew[k]), Operator});
            ++m_magLent[copy];
            if (stillOut) {
                m_magAvail[copy] = INT_MAX;
                m_magState[copy] = 1;
            } else {
                m_magAvail[copy] = ret;
            }
            ++m_sum.magazineLoans;
        }
        m_sum.renewals += renewed;
        // Some loans fulfil a reservation made a few days before.
        // Once more than three days old, the daily start-up sweep has marked it "失效".
        if (m_rng.chance(0.01)) {
            const int made = day - int(m_rng.below(3));
            m_reservations.push_back({ri, copy, kind, made, made < m_today - 3 ? "失效" : "生效"});
        }
    }
    bookLoans->finish();
    magLoans->finish();
    bookRenewals->finish();
    magRenewals->finish();
}

void Builder::finishReaders()
{
    for (Reader &rd : m_readers) {
        if (rd.canceller && rd.open[0] == 0 && rd.open[1] == 0) {
            const int day = std::max(rd.stopDay, rd.lastReturn) + 1 + int(m_rng.below(10));
            if (day <= m_today) {
                rd.cancelled = true;
                rd.stopDay = day;
            }
        }
    }
    // Old reservations that lapsed, and a few made in the last days that
    // still wait for their copy on the shelf.
    const qint64 lapsed = m_o.loans / 200;
    for (qint64 i = 0; i < lapsed && !m_readers.empty() && !m_copyTitle.empty(); ++i)
        m_reservations.push_back({int(m_rng.below(m_readers.size())), int(m_rng.below(m_copyTitle.size())), 0,
                                  int(m_rng.between(m_start, m_today - 4)), "失效"});
    const qint64 waiting = std::max<qint64>(3, m_o.readers / 1000);
    for (qint64 i = 0; i < waiting && !m_readers.empty() && !m_copyTitle.empty(); ++i) {
        const int copy = int(m_rng.below(m_copyTitle.size()));
        const int reader = int(m_rng.below(m_readers.size()));
        if (m_copyState[copy] != 0 || m_readers[reader].cancelled)
            continue;
        m_copyState[copy] = 2;
        m_reservations.push_back({reader, copy, 0, int(m_today - m_rng.below(4)), "有效"});
    }
}

void Builder::writeCopies()
{
    const auto ins = BulkLoad::open(m_db, QStringLiteral("图书资料"),
                   cols("状态,图书编号,图书名称,标准ISBN,ISBN,分类号,分类名,种次号,索书号,作者信息,定价,出版社,出版地,出版年,"
                        "页码,存放位置,开本,语种,配送物品,版次,批次,入库时间,借出次数,密级"));
    const QString states[] = {QStringLiteral("在馆"), QStringLiteral("借出"), QStringLiteral("预定")};
    const QString chinese = QStringLiteral("中文"), open = QStringLiteral("公开"), disc = QStringLiteral("光盘");
    const qint64 n = qint64(m_copyTitle.size());
    for (qint64 c = 0; c < n; ++c) {
        progress("图书", c + 1, n);
        const Title &t = m_titles[m_copyTitle[c]];
        const ClassDef &cls = Classes[t.cls];
        const Publisher &p = Publishers[t.pub];
        const QDate intake = QDate::fromJulianDay(t.intakeDay);
        ins->add({states[int(m_copyState[c])], padded(c + 1, m_copyWidth), t.name, t.isbnShown, t.isbn13, u(cls.code),
                 u(cls.name), t.serial, QString(u(cls.code) + QLatin1Char('/') + QString::number(t.serial)), t.author,
                 money(t.price), u(p.name), u(p.city), QString::number(t.year), t.pages,
                 u(Locations[(t.cls + t.pub) % int(std::size(Locations))]), t.format, chinese,
                 t.disc ? QVariant(disc) : QVariant(QMetaType(QMetaType::QString)), t.edition,
                 intake.toString(QStringLiteral("yyyyMM")), intake, int(m_copyLent[c]), open});
    }
    ins->finish();
    m_sum.bookCopies = n;
}

void Builder::writeMagazines()
{
    const auto ins = BulkLoad::open(m_db, QStringLiteral("期刊资料"),
                   cols("状态,期刊编号,期刊名称,标准ISBN,ISSN,刊期类别,刊次,总刊次,分类号,分类名,主编信息,定价,出版社,出版地,"
                        "出版日期,存放位置,开本,语种,入库时间,借出次数,密级"));
    const QString states[] = {QStringLiteral("在馆"), QStringLiteral("借出"), QStringLiteral("预定")};
    const qint64 n = qint64(m_magTitle.size());
    for (qint64 c = 0; c < n; ++c) {
        progress("期刊", c + 1, n);
        const MagDef &m = Magazines[m_magTitle[c]];
        const QString &clsName = m_magClsName.at(m_magTitle[c]);
        const QDate day = QDate::fromJulianDay(m_magDay[c]);
        const QString issn = m_magIssn.at(m_magTitle[c]);
        ins->add({states[int(m_magState[c])], padded(c + 1, m_magWidth), u(m.name), issn, QString(issn).remove(QLatin1Char('-')),
                 u(m.freq), QStringLiteral("%1年第%2期").arg(day.year()).arg(m_magNo[c]), QString::number(m_magTotal[c]),
                 u(m.cls), clsName, u(m.editor), money(moneyOf(m.price)), u(m.publisher), u(m.city), day,
                 u(MagLocations[m_today - m_magDay[c] > 365 ? 1 : 0]), QStringLiteral("16开"), QStringLiteral("中文"),
                 QDate::fromJulianDay(m_magDay[c] + 3), int(m_magLent[c]), QStringLiteral("公开")});
    }
    ins->finish();
    m_sum.magazineCopies = n;
}

void Builder::writeReaders()
{
    static const int PhonePrefixes[] = {3, 5, 8, 8, 3};
    const auto ins = BulkLoad::open(m_db, QStringLiteral("读者资料"),
                   cols("状态,编号,姓名,性别,类型,押金,有效期限制,截止日期,单位部门,出生日期,办证日期,联系电话,电子邮箱,联系地址,"
                        "借阅次数,包租,当前包租量,当前可用量,当前已用量,密码"));
    const QVariant nullDate(QMetaType(QMetaType::QDate));
    const QVariant nullText(QMetaType(QMetaType::QString));
    const qint64 n = qint64(m_readers.size());
    for (qint64 i = 0; i < n; ++i) {
        progress("读者", i + 1, n);
        const Reader &rd = m_readers[i];
        const TypeDef &t = Types[rd.type];
        // The state the start-up sweep leaves: expired cards and used-up or
        // lapsed quotas are "过期".
        QString status = QStringLiteral("正常");
        QVariant until = nullDate;
        if (t.prepaid) {
            if (!rd.toppedUp)
                status = QStringLiteral("等待");
            else {
                until = dateV(rd.validUntil);
                if (rd.quotaLeft <= 0 || rd.validUntil <= m_today)
                    status = QStringLiteral("过期");
            }
        } else if (rd.expiryDay != INT_MAX) {
            until = dateV(rd.expiryDay);
            if (rd.expiryDay <= m_today)
                status = QStringLiteral("过期");
        } else if (rd.cancelled) {
            status = QStringLiteral("注销");
        } else if (rd.lostUntil == INT_MAX && rd.lostFrom <= m_today) {
            status = QStringLiteral("挂失");
        }
        const int birthYear = int(m_rng.between(1950, 2010));
        const QDate birth(birthYear, int(m_rng.between(1, 12)), int(m_rng.between(1, 28)));
        const QString phone = QStringLiteral("1") + QString::number(m_rng.pick(PhonePrefixes)) + padded(m_rng.below(1000000000), 9);
        const QString mail = m_rng.chance(0.4) ? QStringLiteral("reader") + rd.number + QStringLiteral("@example.cn") : QString();
        const QString address = u(m_rng.pick(Cities)) + u(m_rng.pick(Streets)) + QString::number(m_rng.between(1, 300))
            + QStringLiteral("号");
        ins->add({status, rd.number, rd.name, rd.sex, u(t.name), money(moneyOf(t.deposit)), u(t.limit), until,
                 u(m_rng.pick(Departments)), birth, dateV(rd.issueDay), phone, mail.isEmpty() ? nullText : QVariant(mail),
                 address, rd.borrowCount, rd.toppedUp, rd.quotaBought, rd.quotaLeft, rd.quotaUsed, QStringLiteral("tulm")});
    }
    ins->finish();
    m_sum.readers = n;
}

void Builder::writeTopUps()
{
    const auto ins = BulkLoad::open(m_db, QStringLiteral("包租充值"),
                   cols("状态,读者编号,姓名,性别,读者类型,充值日期,充值金额,包租量,可用量,已用量,生效日期,失效日期,备注,操作员"));
    for (size_t i = 0; i < m_topUps.size(); ++i) {
        const TopUp &tu = m_topUps[i];
        const Reader &rd = m_readers[tu.reader];
        const TypeDef &t = Types[rd.type];
        // Only the reader's latest record can still be in force.
        const bool valid = int(i) == rd.record && rd.quotaLeft > 0 && rd.validUntil > m_today;
        ins->add({valid ? QStringLiteral("有效") : QStringLiteral("失效"), rd.number, rd.name, rd.sex, u(t.name), dateV(tu.day),
                 money(moneyOf(t.price)), tu.quota, tu.left, tu.used, dateV(tu.day), dateV(tu.validUntil), QString(),
                 Operator});
    }
    ins->finish();
    m_sum.topUps = qint64(m_topUps.size());
}

void Builder::writeReservationsAndEvents()
{
    const auto res = BulkLoad::open(m_db, QStringLiteral("预定记录"), cols("读者编号,读者姓名,书籍编号,书籍名称,类型,预定日期,状态"));
    for (const Reservation &r : m_reservations) {
        const Reader &rd = m_readers[r.reader];
        const QString number = r.kind == 0 ? padded(r.copy + 1, m_copyWidth) : padded(r.copy + 1, m_magWidth);
        const QString name = r.kind == 0 ? m_titles[m_copyTitle[r.copy]].name : u(Magazines[m_magTitle[r.copy]].name);
        res->add({rd.number, rd.name, number, name.left(50), r.kind == 0 ? QStringLiteral("图书") : QStringLiteral("期刊"),
                 dateV(r.day), u(r.status)});
    }
    res->finish();
    m_sum.reservations = qint64(m_reservations.size());

    const auto lost = BulkLoad::open(m_db, QStringLiteral("读者挂失记录"), cols("操作日期,操作方式,读者编号,读者姓名,读者性别,读者类型,操作员"));
    const auto gone = BulkLoad::open(m_db, QStringLiteral("读者注销记录"),
                    cols("注销日期,读者编号,读者姓名,读者性别,读者类型,退还押金,备注,操作员"));
    for (const Reader &rd : m_readers) {
        const TypeDef &t = Types[rd.type];
        if (rd.lostFrom <= m_today) {
            lost->add({dateV(rd.lostFrom), QStringLiteral("挂失"), rd.number, rd.name, rd.sex, u(t.name), Operator});
            if (rd.lostUntil != INT_MAX)
                lost->add({dateV(rd.lostUntil), QStringLiteral("解除挂失"), rd.number, rd.name, rd.sex, u(t.name), Operator});
        }
        if (rd.cancelled) {
            gone->add({dateV(rd.stopDay), rd.number, rd.name, rd.sex, u(t.name), money(moneyOf(t.deposit)),
                      QStringLiteral("读者退证"), Operator});
        }
    }
    lost->finish();
    gone->finish();
    m_sum.cardEvents = lost->rows();
    m_sum.cancellations = gone->rows();
}

GenSummary Builder::run()
{
    m_tick.start();
    m_today = int(m_o.today.toJulianDay());
    m_start = m_today - std::max(1, m_o.years) * 365;

    Transaction tx(m_db);
    say(QStringLiteral("目录与读者类型……"));
    writeLookups();
    buildTitles();
    buildMagazines();
    buildReaders();
    say(QStringLiteral("借阅记录……"));
    simulateLoans();
    finishReaders();
    writeCopies();
    writeMagazines();
    writeReaders();
    writeTopUps();
    writeReservationsAndEvents();
    tx.commit();
    return m_sum;
}

} // namespace

GenSummary generate(TBast &bast, const GenOptions &options)
{
    Database &db = *bast.database();
    if (Schema::isEmpty(db))
        Schema::createDelivered(bast);
    const qint64 held = db.scalar(QStringLiteral("select count(*) from 图书资料")).toLongLong()
        + db.scalar(QStringLiteral("select count(*) from 读者资料")).toLongLong()
        + db.scalar(QStringLiteral("select count(*) from 图书借阅信息")).toLongLong();
    if (held > 0)
        throw std::runtime_error("数据库中已有图书、读者或借阅记录，只能向空数据库生成数据");
    if (options.copies < 1 || options.readers < 1 || options.loans < 0)
        throw std::runtime_error("图书数量和读者数量至少为 1");

    if (!db.isServer()) {
        // One big transaction into an empty file: a rollback journal only has
        // to keep the few pages that existed before, and nothing needs to
        // reach the disk before the commit.
        db.exec(QStringLiteral("pragma journal_mode=truncate"));
        db.exec(QStringLiteral("pragma synchronous=off"));
        db.exec(QStringLiteral("pragma cache_size=-262144"));
        db.exec(QStringLiteral("pragma temp_store=memory"));
    } else {
        db.exec(QStringLiteral("set synchronous_commit to off"));
    }

    // The indexes are built once at the end instead of row by row; all in
    // the one transaction, so a failed run leaves the database as it was.
    Transaction tx(db);
    Schema::dropIndexes(db);
    Builder b(bast, options);
    const GenSummary s = b.run();
    if (options.progress)
        options.progress(QStringLiteral("索引……"));
    if (db.isServer())
        db.exec(QStringLiteral("set local maintenance_work_mem to '1GB'"));
    Schema::createIndexes(db);
    if (options.progress)
        options.progress(QStringLiteral("提交……"));
    tx.commit();

    if (options.progress)
        options.progress(QStringLiteral("统计信息……"));
    // On the server also what autovacuum would have done to a library in
    // use: the visibility map lets counts and look-ups read the indexes alone.
    db.exec(db.isServer() ? QStringLiteral("vacuum analyze") : QStringLiteral("analyze"));
    if (!db.isServer()) {
        db.exec(QStringLiteral("pragma synchronous=normal"));
        db.exec(QStringLiteral("pragma journal_mode=wal"));
    }
    return s;
}

} // namespace qandor::gen
