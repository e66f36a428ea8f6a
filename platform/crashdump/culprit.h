#pragma once
// The driver that probably caused a stop, found without symbol files: the module holding the saved instruction
// pointer, else the module holding a parameter that the stop code documents as a code address, else the first
// driver other than the kernel and the HAL whose code address lies on the saved stack (a guess). A hit inside the
// kernel or the HAL does not end the search, since the kernel is where nearly every stop is raised; it is the
// answer only when nothing else is found.

#include "platform/crashdump/bytespan.h"
#include "platform/crashdump/dumpinfo.h"

#include <functional>
#include <optional>
#include <vector>

namespace tervolin::platform::crashdump {

/// True for the kernel images (ntoskrnl.exe, ntkrnlmp.exe, ntkrnlpa.exe, ntkrpamp.exe, ntkrla57.exe) and the HALs.
bool isKernelOrHal(const QString& moduleName);

/// The index (0-3) of the parameter that `code` documents as the address of the faulting code, if it has one.
/// Codes with the 0x10000000 bit carry the same parameters as without it.
std::optional<int> codeAddressParameter(quint32 code);

/// Finds a module by address among drivers (or an application's modules). The first few lookups walk the list;
/// a search of many addresses (a stack scan) sorts it once.
class ModuleMap {
public:
    explicit ModuleMap(const std::vector<LoadedDriver>& drivers);
    /// The module holding `address`, or null; with overlapping entries (a damaged list), the one starting nearest
    /// below the address.
    const LoadedDriver* find(quint64 address) const;

private:
    const std::vector<LoadedDriver>& drivers_;
    mutable std::vector<const LoadedDriver*> sorted_;  // by base, zero-sized entries left out; built on demand
    mutable int walks_ = 0;
};

struct SuspectClues {
    std::optional<quint64> instructionPointer;
    std::optional<quint32> code;
    std::array<quint64, 4> parameters{};
    int parameterCount = 0;
    ByteSpan stack;         // the saved stack
    int stackWordWidth = 64;  // 32 or 64
};

std::optional<Suspect> findSuspect(const std::vector<LoadedDriver>& drivers, const SuspectClues& clues);
/// The same with a map built once for several calls; `nameOf`, when given, names a module whose name was not
/// decoded with the list.
using ModuleName = std::function<QString(const LoadedDriver&)>;
std::optional<Suspect> findSuspect(const ModuleMap& map, const SuspectClues& clues, const ModuleName& nameOf = {});

}  // namespace tervolin::platform::crashdump
