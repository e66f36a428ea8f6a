#pragma once
// Reads the code list of a knowledge-base file on a worker thread and hands it to the window in parts, each with
// its case-blind index, so that the window shows at once and a long list fills while the user starts working.

#include <QObject>
#include <QString>

#include <atomic>
#include <thread>

#include "platform/core/caseblindindex.h"
#include "platform/core/textlist.h"

namespace tervolin::app {

class CodeListLoader : public QObject
{
    Q_OBJECT
public:
    /// The first part is small, to fill the visible rows quickly; the parts then double up to the largest.
    static constexpr qsizetype FirstPart = 512;
    static constexpr qsizetype LargestPart = 262'144;

    /// Starts reading the file at `path` through a knowledge base of the worker's own (a connection serves one
    /// thread). The signals arrive on the thread that owns the loader.
    explicit CodeListLoader(const QString& path, QObject* parent = nullptr);
    /// Stops the worker after the part it is reading and waits for it; nothing more is announced.
    ~CodeListLoader() override;

Q_SIGNALS:
    /// The next codes in table order, with the case-blind index of exactly those codes.
    void partRead(const platform::TextList& codes, const platform::CaseBlindIndex& index);
    /// Every code has been handed over.
    void finished();
    /// The list could not be read (a damaged table): the file and the engine's own words. Nothing follows.
    void failed(const QString& filePath, const QString& message);

private:
    void read(const QString& path);

    std::atomic<bool> stop_{false};
    std::thread worker_;
};

}  // namespace tervolin::app
