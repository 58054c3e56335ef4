// The GUI edge of the core's texts: GBK bytes become QString here and nowhere else.
#pragma once

#include <QString>
#include <string>

namespace velorin {

QString FromGbk(const std::string& gbk);
std::string ToGbk(const QString& text);

}  // namespace velorin
