#pragma once
// The exchange kernel is called on the host's thread, inside the host's
// process. While a KernelScope lives:
//  - fatal signals on this thread (memory faults in the kernel on malformed
//    files: the IGES transfer's name handling and the STEP face translation
//    of some files fault) become kernel exceptions at the nearest
//    OCC_CATCH_SIGNALS, so the import fails instead of the host;
//  - the kernel's console messages are kept quiet, as the plug-in shows none.
// When it ends, the host's own signal handlers, floating-point environment
// and the kernel's message printers are back as they were.
#include <csignal>
#include <fenv.h>

#include <Message_SequenceOfPrinters.hxx>

class KernelScope {
public:
    KernelScope();
    ~KernelScope();
    KernelScope(const KernelScope&) = delete;
    KernelScope& operator=(const KernelScope&) = delete;

private:
    static constexpr int kSignalCount = 32;
    struct sigaction m_saved[kSignalCount];
    bool m_savedValid[kSignalCount] = {};
    fenv_t m_floatingPoint;
    Message_SequenceOfPrinters m_printers;
};
