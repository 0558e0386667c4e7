#include <Message_ProgressRange.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <Standard_ErrorHandler.hxx>
#include <TCollection_AsciiString.hxx>
#include <TCollection_ExtendedString.hxx>

#include "ControlReader.h"
#include "KernelScope.h"

STEP_Reader::~STEP_Reader() = default;

std::size_t STEP_Reader::read()
{
    KernelScope kernel;
    OCC_CATCH_SIGNALS
    STEPCAFControl_Reader reader;
    reader.SetNameMode(true);
    reader.SetColorMode(true);
    const TCollection_AsciiString file(TCollection_ExtendedString(path.constPtr()));
    if (!isReadOk(reader.ReadFile(file.ToCString())))
        return 0;
    document = new TDocStd_Document("MDTV-XCAF");
    if (reader.Transfer(document, Message_ProgressRange()))
        walkDocument();
    itemCount = items.size();
    return itemCount;
}
