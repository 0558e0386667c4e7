#include <STEPCAFControl_Reader.hxx>

#include "ControlReader.h"
#include "ExchangeRead.h"

STEP_Reader::~STEP_Reader() = default;

std::size_t STEP_Reader::read()
{
    STEPCAFControl_Reader reader;
    reader.SetNameMode(true);
    reader.SetColorMode(true);
    return readAndTransfer(*this, reader, path, document);
}
