#pragma once
// The part of reading both readers share: read the file with the exchange
// reader, transfer it into a new XCAF document and walk the document.
#include <Message_ProgressRange.hxx>
#include <Standard_ErrorHandler.hxx>
#include <TCollection_AsciiString.hxx>
#include <TCollection_ExtendedString.hxx>

#include "ExchangeHooks.h"
#include "KernelScope.h"

// Called by a reader's read with its configured exchange reader. Kernel
// faults in these calls end the read with a kernel exception.
template <class Reader, class ExchangeReader>
std::size_t readAndTransfer(Reader& reader, ExchangeReader& exchange, const ZrString& path,
                            Handle(TDocStd_Document)& document)
{
    KernelScope kernel;
    OCC_CATCH_SIGNALS
    if (!reader.isReadOk(readExchangeFile(exchange, path)))
        return 0;
    document = new TDocStd_Document("MDTV-XCAF");
    if (exchange.Transfer(document, Message_ProgressRange())) {
        afterTransfer(exchange, document);
        reader.walkTransferredDocument();
    }
    return reader.countItems();
}
