#include "KernelScope.h"

#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <OSD.hxx>

KernelScope::KernelScope()
{
    fegetenv(&m_floatingPoint);
    for (int signal = 1; signal < kSignalCount; ++signal)
        m_savedValid[signal] = sigaction(signal, nullptr, &m_saved[signal]) == 0;
    // Floating-point traps stay off: the kernel relies on quiet NaN and infinity.
    OSD::SetSignal(OSD_SignalMode_Set, false);
    Message_SequenceOfPrinters& printers = Message::DefaultMessenger()->ChangePrinters();
    m_printers = printers;
    printers.Clear();
}

KernelScope::~KernelScope()
{
    Message::DefaultMessenger()->ChangePrinters() = m_printers;
    for (int signal = 1; signal < kSignalCount; ++signal)
        if (m_savedValid[signal])
            sigaction(signal, &m_saved[signal], nullptr);
    fesetenv(&m_floatingPoint);
}
