#pragma once

#include <optional>
#include <string>

#include "platform/text.h"
#include "platform/window_runtime.h"

namespace quorrin::testing {

// One call a command made on the window runtime, with its arguments and,
// for reads, the answer it got.
struct RecordedCall {
    enum class Kind {
        controlText,
        setControlText,
        setControlVisible,
        deleteAllRows,
        insertRow,
        setCellText,
        cellText,
        selectedRow,
        runModalWindow,
        showMessageBox,
        setClipboardText,
        openInBrowser,
        startWorker,
        processPendingEvents,
    };

    Kind kind{};
    std::optional<Control> control{};       // control operations
    std::optional<ModalWindowId> window{};  // runModalWindow
    int row = -1;                           // setCellText, cellText
    int column = -1;                        // setCellText, cellText
    Text text;             // text written or read, message, clipboard text, address
    Text caption;          // showMessageBox
    bool visible = false;  // setControlVisible
    int answer = 0;        // insertRow, selectedRow

    friend bool operator==(const RecordedCall&, const RecordedCall&) = default;
};

// One line a call, texts in UTF-8, e.g.
//   setControlText(透明标签1, "正在搜索中")   insertRow() -> 0
//   cellText(0, 0) -> "爵迹"                 showMessageBox("该分享已失效", "信息：")
[[nodiscard]] std::string describe(const RecordedCall& call);

}  // namespace quorrin::testing
