#pragma once

#include <QDialog>
#include <QLineEdit>

#include "app/program_state.h"
#include "platform/window_runtime.h"

namespace quorrin {

// The small window that shows the resolved download address (linkText):
// "复制链接" copies what the box holds now, "打开链接" opens linkText itself,
// whatever the user typed into the box.
class LinkWindow final : public QDialog {
  public:
    LinkWindow(WindowRuntime& runtime, const ProgramState& state, QWidget* parent = nullptr);

  private:
    WindowRuntime& runtime_;
    const ProgramState& state_;
    QLineEdit* address_ = nullptr;
};

}  // namespace quorrin
