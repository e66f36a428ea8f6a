#include "platform/crashdump/culprit.h"

#include <algorithm>

namespace tervolin::platform::crashdump {

bool isKernelOrHal(const QString& moduleName)
{
    const QString name = moduleName.toLower();
    static const char* const kernels[] = {"ntoskrnl.exe", "ntkrnlmp.exe", "ntkrnlpa.exe", "ntkrpamp.exe",
                                          "ntkrla57.exe"};
    for (const char* kernel : kernels)
        if (name == QLatin1String(kernel))
            return true;
    // hal.dll and the older variants (halmacpi.dll, halacpi.dll, halaacpi.dll …).
    return name.startsWith(QLatin1String("hal")) && name.endsWith(QLatin1String(".dll"));
}

std::optional<int> codeAddressParameter(quint32 code)
{
    switch (code & ~0x10000000u) {
    case 0x1E:  // KMODE_EXCEPTION_NOT_HANDLED: P2 the address of the exception
    case 0x3B:  // SYSTEM_SERVICE_EXCEPTION: P2 the address of the instruction
    case 0x7E:  // SYSTEM_THREAD_EXCEPTION_NOT_HANDLED: P2
    case 0x8E:  // KERNEL_MODE_EXCEPTION_NOT_HANDLED: P2
        return 1;
    case 0x50:  // PAGE_FAULT_IN_NONPAGED_AREA: P3 the address that referenced memory
    case 0xCC:  // PAGE_FAULT_IN_FREED_SPECIAL_POOL: P3
    case 0xCD:  // PAGE_FAULT_BEYOND_END_OF_ALLOCATION: P3
    case 0xD5:  // DRIVER_PAGE_FAULT_IN_FREED_SPECIAL_POOL: P3
    case 0xD6:  // DRIVER_PAGE_FAULT_BEYOND_END_OF_ALLOCATION: P3
        return 2;
    case 0x0A:  // IRQL_NOT_LESS_OR_EQUAL: P4 the address that referenced memory
    case 0xC5:  // DRIVER_CORRUPTED_EXPOOL: P4
    case 0xD1:  // DRIVER_IRQL_NOT_LESS_OR_EQUAL: P4
        return 3;
    default:
        return std::nullopt;
    }
}

ModuleMap::ModuleMap(const std::vector<LoadedDriver>& drivers) : drivers_(drivers) {}

const LoadedDriver* ModuleMap::find(quint64 address) const
{
    constexpr int kWalks = 8;
    if (walks_ < kWalks) {
        ++walks_;
        const LoadedDriver* best = nullptr;
        for (const LoadedDriver& d : drivers_)
            if (d.size != 0 && address - d.base < d.size && (!best || d.base > best->base))
                best = &d;
        return best;
    }
    if (sorted_.empty() && !drivers_.empty()) {
        sorted_.reserve(drivers_.size());
        for (const LoadedDriver& driver : drivers_)
            if (driver.size != 0)
                sorted_.push_back(&driver);
        std::sort(sorted_.begin(), sorted_.end(),
                  [](const LoadedDriver* a, const LoadedDriver* b) { return a->base < b->base; });
    }
    // The module starting nearest below the address that still holds it: walk back over the few that start lower
    // (more than a few only in a list damaged into heavy overlap).
    auto it = std::upper_bound(sorted_.begin(), sorted_.end(), address,
                               [](quint64 a, const LoadedDriver* d) { return a < d->base; });
    for (int steps = 0; it != sorted_.begin() && steps < 4; ++steps) {
        const LoadedDriver* candidate = *--it;
        if (address - candidate->base < candidate->size)
            return candidate;
    }
    return nullptr;
}

std::optional<Suspect> findSuspect(const std::vector<LoadedDriver>& drivers, const SuspectClues& clues)
{
    if (drivers.empty())
        return std::nullopt;
    return findSuspect(ModuleMap(drivers), clues);
}

std::optional<Suspect> findSuspect(const ModuleMap& map, const SuspectClues& clues, const ModuleName& nameOf)
{
    const auto name = [&](const LoadedDriver& module) { return nameOf ? nameOf(module) : module.name; };
    std::optional<Suspect> kernelHit;
    const auto consider = [&](quint64 address, SuspectMethod method) -> std::optional<Suspect> {
        const LoadedDriver* module = map.find(address);
        if (!module)
            return std::nullopt;
        Suspect suspect{name(*module), address - module->base, method};
        if (!isKernelOrHal(suspect.module))
            return suspect;
        if (!kernelHit)
            kernelHit = suspect;
        return std::nullopt;
    };

    if (clues.instructionPointer)
        if (auto hit = consider(*clues.instructionPointer, SuspectMethod::Context))
            return hit;
    if (clues.code) {
        const auto index = codeAddressParameter(*clues.code);
        if (index && *index < clues.parameterCount)
            if (auto hit = consider(clues.parameters[size_t(*index)], SuspectMethod::Parameter))
                return hit;
    }
    const quint64 step = clues.stackWordWidth == 32 ? 4 : 8;
    for (quint64 at = clues.stack.base(); clues.stack.contains(at, step); at += step) {
        const quint64 word = clues.stack.word(at, clues.stackWordWidth).value_or(0);
        const LoadedDriver* module = map.find(word);
        if (!module)
            continue;
        QString moduleName = name(*module);
        if (!isKernelOrHal(moduleName))
            return Suspect{std::move(moduleName), word - module->base, SuspectMethod::Stack};
    }
    return kernelHit;
}

}  // namespace tervolin::platform::crashdump
