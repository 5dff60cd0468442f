#include "platform/qt/qt_text.h"

#include <string>

#include "platform/codepage.h"

namespace quorrin {

QString toQString(const Text& text) {
    const std::u16string wide = toUtf16(kCodePageGbk, text.view());
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

Text fromQString(const QString& text) {
    const std::u16string_view wide(reinterpret_cast<const char16_t*>(text.utf16()),
                                   static_cast<std::size_t>(text.size()));
    return Text(fromUtf16(kCodePageGbk, wide));
}

}  // namespace quorrin
