#pragma once

#include <QString>

#include "platform/text.h"

// The one place where texts cross between code page 936 and Qt's UTF-16.
namespace quorrin {

[[nodiscard]] QString toQString(const Text& text);
// Characters code page 936 lacks become "?"; a U+0000 ends the text.
[[nodiscard]] Text fromQString(const QString& text);

}  // namespace quorrin
