#include <IGESCAFControl_Reader.hxx>
#include <Message_ProgressRange.hxx>
#include <Standard_ErrorHandler.hxx>
#include <TCollection_AsciiString.hxx>
#include <TCollection_ExtendedString.hxx>

#include "ControlReader.h"
#include "KernelScope.h"

IGES_Reader::~IGES_Reader() = default;

std::size_t IGES_Reader::read()
{
    KernelScope kernel;
    OCC_CATCH_SIGNALS
    IGESCAFControl_Reader reader; // colour, name and layer modes on as made
    const TCollection_AsciiString file(TCollection_ExtendedString(path.constPtr()));
    if (!isReadOk(reader.ReadFile(file.ToCString())))
        return 0;
    document = new TDocStd_Document("MDTV-XCAF");
    if (reader.Transfer(document, Message_ProgressRange()))
        walkDocument();
    itemCount = items.size();
    return itemCount;
}
