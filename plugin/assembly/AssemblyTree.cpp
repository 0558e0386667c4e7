// The walk from the document's free shapes down to work items, and the
// display names of the tree's nodes.
#include <TDataStd_Name.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS_Iterator.hxx>
#include <XCAFDoc_ShapeTool.hxx>

#include "reading/ControlReader.h"

namespace {

bool containsKind(const TopoDS_Shape& shape, TopAbs_ShapeEnum kind)
{
    return TopExp_Explorer(shape, kind).More();
}

// Names the kernel makes up for shapes that had none in the file.
bool isGeneratedName(const ZrString& name)
{
    for (const wchar_t* kindName : {L"COMPOUND", L"COMPSOLID", L"SOLID", L"SHELL"})
        if (name.compare(kindName) == 0)
            return true;
    if (name.length() < 3 || name.find(L"=>[") != 0)
        return false;
    return name.find(L"]") == name.length() - 1;
}

// UTF-16 text of a name attribute as host text.
ZrString hostText(const TCollection_ExtendedString& text)
{
    std::wstring wide;
    const Standard_ExtString units = text.ToExtString();
    for (int i = 0, n = text.Length(); i < n; ++i) {
        const unsigned int unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < n && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            wide += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            wide += static_cast<wchar_t>(unit);
        }
    }
    return ZrString(wide);
}

} // namespace

void ControlReader::buildTree(const TDF_Label& label, const gp_Trsf& transformation, ShapeNode& node)
{
    if (XCAFDoc_ShapeTool::IsAssembly(label)) {
        TDF_LabelSequence components;
        XCAFDoc_ShapeTool::GetComponents(label, components, false);
        for (const TDF_Label& component : components) {
            ShapeNode child;
            child.name = labelName(component, nameCounter);
            buildTree(component, transformation, child);
            node.children.push_back(std::move(child));
        }
    } else if (XCAFDoc_ShapeTool::IsReference(label)) {
        TDF_Label referred;
        XCAFDoc_ShapeTool::GetReferredShape(label, referred);
        const TopoDS_Shape shape = XCAFDoc_ShapeTool::GetShape(referred);
        const gp_Trsf placement = XCAFDoc_ShapeTool::GetLocation(label).Transformation();
        if (!shape.IsNull()) {
            ShapeNode child;
            child.name = labelName(referred, nameCounter);
            buildTree(referred, transformation.Multiplied(placement), child);
            node.children.push_back(std::move(child));
        }
    } else if (XCAFDoc_ShapeTool::IsSimpleShape(label)) {
        const TopoDS_Shape shape = XCAFDoc_ShapeTool::GetShape(label);
        if (!shape.IsNull()) {
            node.isShape = true;
            node.firstItem = items.size();
            collectItems(shape, transformation);
            node.lastItem = items.size();
        }
    }
}

void ControlReader::collectItems(const TopoDS_Shape& shape, const gp_Trsf& transformation)
{
    switch (shape.ShapeType()) {
    case TopAbs_COMPOUND:
        // A compound of edges and wires stays one item; anything holding
        // faces, or only vertices, is taken apart. A wire beside faces is
        // left out: it is a face's outline, not geometry of its own.
        if (!containsKind(shape, TopAbs_FACE) && containsKind(shape, TopAbs_EDGE)) {
            addItem(shape, transformation);
            return;
        }
        for (TopoDS_Iterator it(shape, true, true); it.More(); it.Next())
            if (it.Value().ShapeType() != TopAbs_WIRE)
                collectItems(it.Value(), transformation);
        return;
    case TopAbs_WIRE:
        // A free wire (an IGES composite curve reads as one) is one item,
        // converted like a compound of edges.
        if (containsKind(shape, TopAbs_EDGE))
            addItem(shape, transformation);
        return;
    case TopAbs_SOLID:
    case TopAbs_SHELL:
    case TopAbs_FACE:
        surfacesSeen = true;
        addItem(shape, transformation);
        return;
    case TopAbs_COMPSOLID:
    case TopAbs_EDGE:
    case TopAbs_VERTEX:
        addItem(shape, transformation);
        return;
    default: // nothing else gives an item of its own
        return;
    }
}

ZrString ControlReader::labelName(const TDF_Label& label, int& counter)
{
    ZrString name;
    Handle(TDataStd_Name) attribute;
    if (label.FindAttribute(TDataStd_Name::GetID(), attribute))
        name = hostText(attribute->Get());
    name.replace(L"\r", L"");
    name.replace(L"\n", L"");
    name.replace(L":", L"");
    if (!isGeneratedName(name))
        return name;
    ++counter;
    ZrString generated;
    generated.format(L"tempName%d", counter);
    return generated;
}
