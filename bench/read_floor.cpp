// The least any importer pays for a file: the kernel's own read and transfer
// into an XCAF document, with names and colours, as the plug-in asks for
// them. Prints one line: the seconds and the peak memory.
//
//   read_floor FILE
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include <IGESCAFControl_Reader.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <OSD.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <Standard_ErrorHandler.hxx>
#include <Standard_Failure.hxx>
#include <TDocStd_Document.hxx>

namespace {

bool isIges(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? "" : path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == "igs" || extension == "iges";
}

template <class Reader>
bool readAndTransfer(Reader& reader, const char* path)
{
    if (reader.ReadFile(path) != IFSelect_RetDone)
        return false;
    Handle(TDocStd_Document) document = new TDocStd_Document("MDTV-XCAF");
    return reader.Transfer(document);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: read_floor FILE\n");
        return 2;
    }
    Message::DefaultMessenger()->ChangePrinters().Clear();
    OSD::SetSignal(OSD_SignalMode_Set, false);
    const auto start = std::chrono::steady_clock::now();
    bool done = false;
    try {
        OCC_CATCH_SIGNALS
        if (isIges(argv[1])) {
            IGESCAFControl_Reader reader;
            done = readAndTransfer(reader, argv[1]);
        } else {
            STEPCAFControl_Reader reader;
            reader.SetNameMode(true);
            reader.SetColorMode(true);
            done = readAndTransfer(reader, argv[1]);
        }
    } catch (const Standard_Failure&) {
        done = false;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("floor %s: read %.3f s, peak %.1f MB%s\n", argv[1], seconds,
                static_cast<double>(usage.ru_maxrss) / 1024.0, done ? "" : " (failed)");
    return done ? 0 : 1;
}
