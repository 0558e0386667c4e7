#include <IGESCAFControl_Reader.hxx>

#include "ControlReader.h"
#include "ExchangeRead.h"

IGES_Reader::~IGES_Reader() = default;

std::size_t IGES_Reader::read()
{
    IGESCAFControl_Reader reader; // colour, name and layer modes on as made
    return readAndTransfer(*this, reader, path, document);
}
