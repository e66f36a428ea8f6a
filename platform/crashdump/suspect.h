#pragma once
// The driver that probably caused a stop, found without symbol files: the module holding the saved instruction
// pointer, else the module holding a parameter that the stop code documents as a code address, else the first
// driver other than the kernel and the HAL whose code address lies on the saved stack (a guess). A hit inside the
// kernel or the HAL does not end the search, since the kernel is where nearly every stop is raised; it is the
// answer only when nothing else is found.

#include "platform/crashdump/dumpinfo.h"

#include <optional>
#include <vector>

namespace tervolin::platform::crashdump {

/// True for the kernel images (ntoskrnl.exe, ntkrnlmp.exe, ntkrnlpa.exe, ntkrpamp.exe, ntkrla57.exe) and the HALs.
bool isKernelOrHal(const QString& moduleName);

/// The index (0-3) of the parameter that `code` documents as the address of the faulting code, if it has one.
/// Codes with the 0x10000000 bit carry the same parameters as without it.
std::optional<int> codeAddressParameter(quint32 code);

/// Finds a module by address among drivers (or an application's modules).
class ModuleMap {
public:
    explicit ModuleMap(const std::vector<LoadedDriver>& drivers);
    /// The module holding `address`, or null.
    const LoadedDriver* find(quint64 address) const;

private:
    std::vector<const LoadedDriver*> sorted_;  // by base, zero-sized entries left out
};

struct SuspectClues {
    std::optional<quint64> instructionPointer;
    std::optional<quint32> code;
    std::array<quint64, 4> parameters{};
    int parameterCount = 0;
    std::vector<quint64> stackWords;  // the saved stack, one pointer-sized value per entry
};

std::optional<Suspect> findSuspect(const std::vector<LoadedDriver>& drivers, const SuspectClues& clues);

}  // namespace tervolin::platform::crashdump
