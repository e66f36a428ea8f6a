#pragma once
// The details of one crash for the history window: the four parameters with their meanings, the system, the
// probable culprit and how it was found, the loaded and unloaded drivers, as a small HTML page.

#include <QString>

#include <vector>

#include "app/crashhistorymodel.h"
#include "app/dumpexplainer.h"

namespace tervolin::app {

/// Where the loaded-driver list of the shown dump stands.
enum class DriverListState { Reading, Read };

/// `dump` is the entry's dump, read again with its driver list once `state` is Read.
QString crashDetailsHtml(const HistoryEntry& entry, const platform::crashdump::DumpInfo& dump,
                         const std::vector<ParameterExplanation>& parameters, DriverListState state);

}  // namespace tervolin::app
