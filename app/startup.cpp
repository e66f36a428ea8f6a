#include "app/startup.h"

#include "app/form1.h"
#include "app/userdata.h"
#include "platform/data/dataerror.h"
#include "platform/messagebox.h"

namespace tervolin::app {

std::unique_ptr<Form1> loadMainWindow(platform::MessageBoxService& messageBox)
{
    auto form = std::make_unique<Form1>(messageBox);
    try {
        form->Form_Load();
    } catch (const platform::data::DataError& error) {
        const QString path = error.filePath().isEmpty() ? UserData::DatabaseFilePath() : error.filePath();
        messageBox.show(nullptr, QStringLiteral("无法打开数据库文件：\n%1\n\n%2").arg(path, error.message()), QStringLiteral("Tervolin1.0"),
                        platform::MessageBoxIcon::Critical);
        return nullptr;
    }
    return form;
}

}  // namespace tervolin::app
