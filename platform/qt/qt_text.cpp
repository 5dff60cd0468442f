#include "platform/qt/qt_text.h"

#include <string>

#include "platform/codepage.h"

namespace quorrin {

QString toQString(const Text& text) {
    if (text.empty()) {
        return {};
    }
    const int units = multiByteToWideChar(kCodePageGbk, 0, text.c_str(), text.length(), nullptr, 0);
    if (units <= 0) {
        return {};
    }
    QString wide(units, QChar(0));
    multiByteToWideChar(kCodePageGbk, 0, text.c_str(), text.length(),
                        reinterpret_cast<char16_t*>(wide.data()), units);
    return wide;
}

Text fromQString(const QString& text) {
    if (text.isEmpty()) {
        return {};
    }
    const auto* wide = reinterpret_cast<const char16_t*>(text.utf16());
    const auto length = static_cast<int>(text.size());
    const int bytes = wideCharToMultiByte(kCodePageGbk, 0, wide, length, nullptr, 0);
    if (bytes <= 0) {
        return {};
    }
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    wideCharToMultiByte(kCodePageGbk, 0, wide, length, narrow.data(), bytes);
    return Text(narrow);
}

}  // namespace quorrin
