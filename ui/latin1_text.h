// Formula texts, symbols and number texts are 8-bit text in the core; the
// widgets hold QString. The conversions between the two, in one place.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace isoquill {

inline std::string latin1(const QString& text) { return text.toLatin1().toStdString(); }

inline QString fromLatin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace isoquill
