#include "app/codelistloader.h"

#include <memory>

#include "app/backgroundwork.h"
#include "app/knowledgebase.h"
#include "platform/data/dataerror.h"

namespace tervolin::app {

CodeListLoader::CodeListLoader(const QString& path, QObject* parent) : QObject(parent)
{
    worker_ = std::thread([this, path] {
        runAsBackgroundWork();
        read(path);
    });
}

CodeListLoader::~CodeListLoader()
{
    stop_ = true;
    worker_.join();
}

void CodeListLoader::read(const QString& path)
{
    // Calls posted to the loader run on its thread; one destroyed before they run takes them with it.
    try {
        const std::unique_ptr<KnowledgeBase> knowledge = KnowledgeBase::openFile(path);
        knowledge->readCodes(FirstPart, LargestPart, [this](platform::TextList codes) {
            if (stop_)
                return false;
            if (codes.isEmpty())
                return true;
            auto index = std::make_shared<const platform::CaseBlindIndex>(platform::CaseBlindIndex::build(codes));
            QMetaObject::invokeMethod(
                this, [this, codes, index] { Q_EMIT partRead(codes, *index); }, Qt::QueuedConnection);
            return !stop_;
        });
        if (!stop_)
            QMetaObject::invokeMethod(this, &CodeListLoader::finished, Qt::QueuedConnection);
    } catch (const platform::data::DataError& error) {
        const QString file = error.filePath().isEmpty() ? path : error.filePath();
        QMetaObject::invokeMethod(
            this, [this, file, message = error.message()] { Q_EMIT failed(file, message); }, Qt::QueuedConnection);
    }
}

}  // namespace tervolin::app
