// The GUI edge of the core's texts. The program's own texts (the text tables) are UTF-8 and
// become QString through FromUtf8; texts in the logger's code page (DeviceInfo, data files, the
// core's messages and lists, which join both) are GBK and go through FromGbk and ToGbk, here and
// nowhere else.
#pragma once

#include <QString>
#include <string>

namespace velorin {

QString FromUtf8(const std::string& utf8);
QString FromGbk(const std::string& gbk);
std::string ToGbk(const QString& text);

}  // namespace velorin
