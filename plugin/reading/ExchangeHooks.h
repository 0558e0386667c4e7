#pragma once
// What the readers do around the kernel's read and transfer, by format (see
// readAndTransfer): how a file is handed to the kernel, and what is set right
// in the document after the transfer, before it is walked.
//
// Names in other code pages (see AnsiText.h):
//  - STEP: string literals of the file that are not valid UTF-8 are
//    rewritten in the format's own escapes (\X2\...\X0\), decoded from the
//    host's ANSI code page, before the kernel reads the file. A file without
//    such literals goes to the kernel untouched; finding out takes one quick
//    pass over its bytes.
//  - IGES: the kernel keeps the raw bytes of every name in its model; after
//    the transfer, names that are not valid UTF-8 are decoded in the ANSI
//    code page.
// The kernel is given full paths.
#include <IFSelect_ReturnStatus.hxx>
#include <Standard_Handle.hxx>
#include <TDocStd_Document.hxx>

#include <zrbase/ZrString.h>

class IGESCAFControl_Reader;
class STEPCAFControl_Reader;

IFSelect_ReturnStatus readExchangeFile(STEPCAFControl_Reader& exchange, const ZrString& path);
IFSelect_ReturnStatus readExchangeFile(IGESCAFControl_Reader& exchange, const ZrString& path);

void afterTransfer(STEPCAFControl_Reader& exchange, const Handle(TDocStd_Document)& document);
// Also gives composite curves the colour of their curves when they have none
// of their own (see IgesDocument.cpp).
void afterTransfer(IGESCAFControl_Reader& exchange, const Handle(TDocStd_Document)& document);

// The path as the kernel takes it: UTF-8, made absolute against the current
// folder when it is relative.
std::string kernelPath(const ZrString& path);
