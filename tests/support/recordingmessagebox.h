#pragma once
// A message box double: records each call and can run a check while the "box" is open.

#include <QString>

#include <functional>
#include <vector>

#include "platform/messagebox.h"

namespace tervolin::test {

class RecordingMessageBox final : public platform::MessageBoxService
{
public:
    struct Call
    {
        QString text;
        QString title;
        platform::MessageBoxIcon icon;
    };

    void show(QWidget*, const QString& text, const QString& title, platform::MessageBoxIcon icon) override
    {
        calls.push_back({text, title, icon});
        if (whileOpen)
            whileOpen();
    }

    std::vector<Call> calls;
    std::function<void()> whileOpen;
};

}  // namespace tervolin::test
