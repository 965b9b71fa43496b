#pragma once

#include <QString>
#include <QVariant>

namespace qandor {

class Hub;

// What the system parameter screen shows and saves.
struct SysParameterValues {
    bool readerAuto = true;
    int readerLength = 4;
    bool bookAuto = true;
    int bookLength = 5;
    bool magazineAuto = true;
    int magazineLength = 5;
    bool bookOverdueWarn = true;
    bool magazineOverdueWarn = true;
    int pageSize = 100;
    bool backupOnExit = true;
    QString backupPath;
};

// The rules of "系统参数设置": the SysParameter row plus SYSPARAMETER/
// BACKUPONEXIT and BACKUPPATH of set.ini.
class SysParameterSetLogic {
public:
    explicit SysParameterSetLogic(Hub &hub) : m_hub(hub) {}

    // On show: the row's values (a missing row is laid with the defaults and
    // the exit backup switched on) and the ini values.
    SysParameterValues load();

    enum class SaveResult {
        Saved,       // written; "数据保存成功！" shown; close
        Failed,      // nothing written; error shown; close
        PathMissing, // "请选择数据备份路径!"; the screen stays open
    };
    SaveResult save(const SysParameterValues &v);

    static bool isNoPath(const QString &path) { return path.trimmed().isEmpty() || path.trimmed() == QLatin1String("NULL"); }

private:
    Hub &m_hub;
    QVariant m_rowId; // the row shown; invalid when there is none
};

} // namespace qandor
