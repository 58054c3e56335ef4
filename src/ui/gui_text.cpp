#include "ui/gui_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace velorin {

QString FromUtf8(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString FromGbk(const std::string& gbk) {
    QStringDecoder decoder("GBK");
    if (!decoder.isValid()) return QString::fromLatin1(gbk.data(), static_cast<int>(gbk.size()));
    return decoder.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

std::string ToGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    if (!encoder.isValid()) return text.toStdString();
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace velorin
