#include "data/gbk.h"

#include <cerrno>
#include <iconv.h>

namespace qandor {

namespace {

QByteArray convert(const char *to, const char *from, const QByteArray &in, bool *ok)
{
    *ok = true;
    if (in.isEmpty())
        return {};
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        *ok = false;
        return {};
    }
    QByteArray out;
    out.resize(in.size() * 4 + 16);
    char *inPtr = const_cast<char *>(in.constData());
    size_t inLeft = static_cast<size_t>(in.size());
    char *outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    while (inLeft > 0) {
        const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        if (r != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG) {
            const auto used = outPtr - out.data();
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = static_cast<size_t>(out.size() - used);
            continue;
        }
        // An invalid or truncated sequence: skip one byte and mark the loss.
        *ok = false;
        ++inPtr;
        --inLeft;
    }
    iconv_close(cd);
    out.resize(outPtr - out.data());
    return out;
}

} // namespace

QString fromGbk(const QByteArray &bytes)
{
    bool ok = false;
    const QByteArray utf8 = convert("UTF-8", "GB18030", bytes, &ok);
    return QString::fromUtf8(utf8);
}

QByteArray toGbk(const QString &text)
{
    bool ok = false;
    return convert("GB18030", "UTF-8", text.toUtf8(), &ok);
}

} // namespace qandor
