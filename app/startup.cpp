#include "app/startup.h"

#include "app/form1.h"
#include "app/userdata.h"
#include "platform/data/dataerror.h"
#include "platform/messagebox.h"

namespace tervolin::app {

std::variant<Form1Start, QString> prepareMainWindow()
{
    auto design = Form1Design::load();
    if (const auto* error = std::get_if<QString>(&design))
        return QStringLiteral("窗体描述有误：\n%1").arg(*error);
    try {
        return Form1Start{std::get<Form1Design>(std::move(design)), UserData::OpenDatabase()};
    } catch (const platform::data::DataError& error) {
        const QString path = error.filePath().isEmpty() ? UserData::DatabaseFilePath() : error.filePath();
        return QStringLiteral("无法打开数据库文件：\n%1\n\n%2").arg(path, error.message());
    }
}

std::unique_ptr<Form1> loadMainWindow(platform::MessageBoxService& messageBox)
{
    auto start = prepareMainWindow();
    if (const auto* error = std::get_if<QString>(&start)) {
        messageBox.show(nullptr, *error, QStringLiteral("Tervolin1.0"), platform::MessageBoxIcon::Critical);
        return nullptr;
    }
    auto form = std::make_unique<Form1>(std::get<Form1Start>(std::move(start)), messageBox);
    form->Form_Load();
    return form;
}

}  // namespace tervolin::app
