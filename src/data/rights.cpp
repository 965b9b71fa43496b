#include "data/rights.h"

namespace qandor {

const QList<RightInfo> &allRights()
{
    static const QList<RightInfo> rights = {
        {"用户设置", nullptr, "系统设置"},
        {"系统参数设置", nullptr, "系统设置"},
        {"读者类型设置", nullptr, "系统设置"},
        {"书籍类别设置", nullptr, "系统设置"},
        {"出版社信息设置", nullptr, "系统设置"},
        {"借书证打印设置", nullptr, "系统设置"},
        {"数据初始化", nullptr, "系统设置"},
        {"网络版设置", nullptr, "系统设置"},
        {"图书管理", nullptr, "数据管理"},
        {"期刊管理", nullptr, "数据管理"},
        {"Marc数据导入", "图书Marc数据导入", "数据管理"},
        {"Excel图书数据导入", "图书Excel数据导入", "数据管理"},
        {"Excel期刊数据导入", "期刊Excel数据导入", "数据管理"},
        {"Excel读者数据导入", "读者Excel数据导入", "数据管理"},
        {"读者管理", nullptr, "数据管理"},
        {"期刊Marc数据导入", nullptr, "数据管理"},
        {"图书借阅", nullptr, "基本操作"},
        {"图书续借", nullptr, "基本操作"},
        {"图书归还", nullptr, "基本操作"},
        {"期刊借阅", nullptr, "基本操作"},
        {"期刊续借", nullptr, "基本操作"},
        {"期刊归还", nullptr, "基本操作"},
        {"新增图书", nullptr, "基本操作"},
        {"新增期刊", nullptr, "基本操作"},
        {"新增读者", nullptr, "基本操作"},
        {"挂失解挂", nullptr, "基本操作"},
        {"读者注销", nullptr, "基本操作"},
        {"包租充值", nullptr, "基本操作"},
        {"图书资料数据查询", nullptr, "数据查询"},
        {"期刊资料数据查询", nullptr, "数据查询"},
        {"读者资料数据查询", nullptr, "数据查询"},
        {"图书借阅数据查询", nullptr, "数据查询"},
        {"期刊借阅数据查询", nullptr, "数据查询"},
        {"图书续借记录查询", nullptr, "数据查询"},
        {"期刊续借记录查询", nullptr, "数据查询"},
        {"读者挂失解挂查询", nullptr, "数据查询"},
        {"读者注销记录查询", nullptr, "数据查询"},
        {"读者包租充值查询", nullptr, "数据查询"},
        {"图书数据统计分析", nullptr, "数据分析"},
        {"期刊数据统计分析", nullptr, "数据分析"},
        {"读者数据统计分析", nullptr, "数据分析"},
        {"今日数据统计分析", nullptr, "数据分析"},
        {"资金数据统计分析", nullptr, "数据分析"},
        {"图书借阅排名分析", nullptr, "数据分析"},
        {"期刊借阅排名分析", nullptr, "数据分析"},
        {"读者借阅排名分析", nullptr, "数据分析"},
        {"数据备份", nullptr, "系统维护"},
        {"数据还原", nullptr, "系统维护"},
        {"数据压缩", nullptr, "系统维护"},
        {"数据清理", nullptr, "系统维护"},
    };
    return rights;
}

QStringList allRightColumns()
{
    QStringList out;
    for (const RightInfo &r : allRights())
        out << QString::fromUtf8(r.column);
    return out;
}

} // namespace qandor
