#pragma once
// The kernel's console stays quiet while an object of this class lives, and
// faults in the kernel become kernel exceptions.
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_SequenceOfPrinters.hxx>
#include <OSD.hxx>

class QuietKernel {
public:
    QuietKernel() : m_printers(Message::DefaultMessenger()->Printers())
    {
        OSD::SetSignal(OSD_SignalMode_Set, false);
        Message::DefaultMessenger()->ChangePrinters().Clear();
    }
    ~QuietKernel() { Message::DefaultMessenger()->ChangePrinters() = m_printers; }
    QuietKernel(const QuietKernel&) = delete;
    QuietKernel& operator=(const QuietKernel&) = delete;

private:
    Message_SequenceOfPrinters m_printers;
};
