// Writes an assembly of one small part placed many times, as STEP: rows of
// placed plates, each row a sub-assembly, about FACES faces in all. What
// bench/instance_growth measures the growth of an import on.
//
//   make_instances FACES OUT.step
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <gp_Ax2.hxx>

#include <cstdlib>
#include <iostream>
#include <string>

#include "Fixtures.h"

namespace {

// A plate with four round holes through it: ten faces (six planes, four cylinders).
TopoDS_Shape plateWithHoles()
{
    TopoDS_Shape plate = fixtures::box(40.0, 30.0, 6.0);
    for (const auto& [x, y] : {std::pair{8.0, 8.0}, {32.0, 8.0}, {8.0, 22.0}, {32.0, 22.0}}) {
        const TopoDS_Shape hole = BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(x, y, -1.0), gp_Dir(0, 0, 1)), 3.0, 8.0).Shape();
        plate = BRepAlgoAPI_Cut(plate, hole).Shape();
    }
    return plate;
}

int faceCount(const TopoDS_Shape& shape)
{
    TopTools_IndexedMapOfShape faces;
    TopExp::MapShapes(shape, TopAbs_FACE, faces);
    return faces.Extent();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::atol(argv[1]) <= 0) {
        std::cerr << "usage: make_instances FACES OUT.step\n";
        return 2;
    }
    const TopoDS_Shape plate = plateWithHoles();
    const long instances = std::max(1L, std::atol(argv[1]) / faceCount(plate));
    const long perRow = 100;

    fixtures::Model model;
    const TDF_Label part = model.addPart(plate, "Plate");
    const TDF_Label top = model.addAssembly("Plates");
    for (long first = 0; first < instances; first += perRow) {
        const long row = first / perRow;
        const TDF_Label rowAssembly = model.addAssembly("Row" + std::to_string(row + 1));
        for (long k = first; k < std::min(instances, first + perRow); ++k)
            model.addComponent(rowAssembly, part, fixtures::translation(50.0 * (k - first), 0.0, 0.0));
        model.addComponent(top, rowAssembly, fixtures::translation(0.0, 40.0 * row, 0.0));
    }
    model.writeStep(argv[2]);
    std::cout << instances << " plates of " << faceCount(plate) << " faces\n";
    return 0;
}
