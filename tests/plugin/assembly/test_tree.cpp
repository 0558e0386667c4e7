// Reading a file into assembly trees, work items and display names.
#include <gtest/gtest.h>

#include <sstream>

#include <BRep_Builder.hxx>
#include <TDataStd_Name.hxx>
#include <TopoDS_CompSolid.hxx>

#include "Fixtures.h"
#include "support/TestReaders.h"

using fixtures::box;
using fixtures::compound;
using fixtures::lineEdge;
using fixtures::vertex;

namespace {

// "name[items a..b]{children}" for a whole tree, to compare trees as text.
std::string describe(const ShapeNode& node)
{
    std::ostringstream out;
    out << node.name.utf8();
    if (node.isShape)
        out << "[" << node.lastItem - node.firstItem << "]";
    if (!node.children.empty()) {
        out << "{";
        for (std::size_t i = 0; i < node.children.size(); ++i)
            out << (i ? "," : "") << describe(node.children[i]);
        out << "}";
    }
    return out.str();
}

std::string describe(const std::vector<ShapeNode>& roots)
{
    std::string all;
    for (const ShapeNode& root : roots)
        all += (all.empty() ? "" : " ") + describe(root);
    return all;
}

std::string stepFile(fixtures::Model& model, const std::string& name)
{
    const std::string path = fixtures::tempPath(name + ".step");
    model.writeStep(path);
    return path;
}

} // namespace

TEST(LabelName, CleansAndGeneratesNames)
{
    Handle(TDocStd_Document) doc = new TDocStd_Document("MDTV-XCAF");
    STEP_Reader reader(ZrString(L"unused.step"));
    struct Case {
        const char* stored; // null: no name attribute
        const wchar_t* expected;
    } cases[] = {
        {"SOLID", L"tempName1"},
        {"SOLID", L"tempName2"},
        {"=>[0:1:1:5]", L"tempName3"},
        {"COMPOUND", L"tempName4"},
        {"COMPSOLID", L"tempName5"},
        {"SHELL", L"tempName6"},
        {"=>[0:1]x", L"=>[01]x"},
        {"a=>[1]", L"a=>[1]"},
        {"=>[", L"=>["},
        {"solid", L"solid"},
        {"SOLID ", L"SOLID "},
        {"Part:1", L"Part1"},
        {"Line\r\nbreak", L"Linebreak"},
        {"ab", L"ab"},
        {"", L""},
        {nullptr, L""},
        {"\xE8\x9E\xBA\xE6\xA0\x93 M8", L"\u87BA\u6813 M8"},
    };
    int counter = 0;
    for (const Case& c : cases) {
        TDF_Label label = doc->Main().NewChild();
        if (c.stored)
            TDataStd_Name::Set(label, TCollection_ExtendedString(c.stored, true));
        EXPECT_EQ(reader.labelName(label, counter).wide(), c.expected) << (c.stored ? c.stored : "(none)");
    }
    EXPECT_EQ(counter, 6);
}

TEST(CollectItems, SplitsShapesIntoWorkItems)
{
    TopoDS_CompSolid compSolid;
    BRep_Builder builder;
    builder.MakeCompSolid(compSolid);
    builder.Add(compSolid, box(1, 1, 1));
    const TopoDS_Shape square = fixtures::wire({gp_Pnt(0, 0, 0), gp_Pnt(1, 0, 0), gp_Pnt(1, 1, 0), gp_Pnt(0, 0, 0)});
    struct Case {
        const char* what;
        TopoDS_Shape shape;
        std::size_t items;
        bool surfaces;
    } cases[] = {
        {"two solids", compound({box(1, 1, 1), box(2, 2, 2)}), 2, true},
        {"edges only", compound({lineEdge({0, 0, 0}, {1, 0, 0}), lineEdge({1, 0, 0}, {1, 1, 0})}), 1, false},
        {"vertices only", compound({vertex({0, 0, 0}), vertex({1, 0, 0}), vertex({2, 0, 0})}), 3, false},
        {"a free wire", square, 1, false},
        {"solid and wire", compound({box(1, 1, 1), square}), 1, true},
        {"only wires", compound({square, square}), 1, false},
        {"nested compounds", compound({compound({box(1, 1, 1)}), compound({vertex({0, 0, 0})})}), 2, true},
        {"a compsolid", compSolid, 1, false},
        {"an empty compound", compound({}), 0, false},
    };
    for (const Case& c : cases) {
        RecordingStepReader reader("unused.step");
        reader.collectItems(c.shape, fixtures::translation(1, 2, 3));
        EXPECT_EQ(reader.allItems().size(), c.items) << c.what;
        EXPECT_EQ(reader.hasSurfaces(), c.surfaces) << c.what;
        for (const WorkItem& item : reader.allItems())
            EXPECT_TRUE(item.transformation.TranslationPart().IsEqual(gp_XYZ(1, 2, 3), 0)) << c.what;
    }
}

TEST(BuildTree, AssembliesGiveComponentAndPartLevels)
{
    fixtures::Model model;
    TDF_Label bolt = model.addPart(box(1, 2, 3), "Bolt");
    TDF_Label assembly = model.addAssembly("Frame");
    model.addComponent(assembly, bolt, fixtures::translation(10, 0, 0), "Left:1");
    model.addComponent(assembly, bolt, fixtures::translation(20, 0, 0), "Right:1");
    TDF_Label outer = model.addAssembly("Machine");
    model.addComponent(outer, assembly, fixtures::translation(0, 100, 0), "Frame-1");
    model.addPart(compound({box(1, 1, 1), box(1, 1, 1, gp_Pnt(5, 0, 0))}), "Pair");
    RecordingStepReader reader(stepFile(model, "assembly"));
    ASSERT_EQ(reader.read(), 4u);
    EXPECT_EQ(describe(reader.rootNodes()), "Machine{Frame-1{Frame{Left1{Bolt[1]},Right1{Bolt[1]}}}} Pair[2]");
    // Placements multiply down the tree into each instance's own item.
    const auto& items = reader.allItems();
    EXPECT_TRUE(items[0].transformation.TranslationPart().IsEqual(gp_XYZ(10, 100, 0), 1e-9));
    EXPECT_TRUE(items[1].transformation.TranslationPart().IsEqual(gp_XYZ(20, 100, 0), 1e-9));
    EXPECT_TRUE(items[2].transformation.Form() == gp_Identity);
    EXPECT_TRUE(reader.hasSurfaces());
}

TEST(BuildTree, UnnamedShapesGetGeneratedNamesInWalkOrder)
{
    fixtures::Model model;
    TDF_Label part = model.addPart(box(1, 1, 1));
    TDF_Label assembly = model.addAssembly();
    model.addComponent(assembly, part, fixtures::translation(1, 0, 0));
    model.addPart(box(2, 2, 2));
    RecordingStepReader reader(stepFile(model, "unnamed"));
    ASSERT_EQ(reader.read(), 2u);
    // The writer names an unnamed assembly itself; the component (named
    // "=>[...]" by the reader) and the two parts ("SOLID") get generated
    // names, numbered in walk order: each node before its sub-tree.
    const std::string tree = describe(reader.rootNodes());
    const std::string tail = "{tempName1{tempName2[1]}} tempName3[1]";
    ASSERT_GE(tree.size(), tail.size());
    EXPECT_EQ(tree.substr(tree.size() - tail.size()), tail) << tree;
}

TEST(Read, FilesThatGiveNothing)
{
    fixtures::Model iges;
    iges.addPart(box(1, 1, 1), "Box");
    const std::string igesAsStep = fixtures::tempPath("really-iges.stp");
    iges.writeIges(igesAsStep);

    struct Case {
        const char* what;
        std::string path;
        bool document;
    } cases[] = {
        {"empty file", fixtures::writeText("empty.step", ""), false},
        {"garbage", fixtures::writeText("garbage.stp", "ISO-10303-21;\nthis is not STEP\n"), false},
        {"IGES under a STEP name", igesAsStep, false},
        {"missing file", fixtures::tempPath("missing.step"), false},
    };
    for (const Case& c : cases) {
        RecordingStepReader reader(c.path);
        EXPECT_EQ(reader.read(), 0u) << c.what;
        EXPECT_EQ(reader.hasDocument(), c.document) << c.what;
    }
}

TEST(Read, IgesAndNonAsciiPaths)
{
    fixtures::Model model;
    TDF_Label part = model.addPart(box(1, 2, 3), "Bolt");
    TDF_Label assembly = model.addAssembly("Asm");
    model.addComponent(assembly, part, fixtures::translation(5, 0, 0), "C1");
    const std::string path = fixtures::tempPath("\xE8\x9E\xBA\xE6\xA0\x93 assembly.igs");
    model.writeIges(path);
    RecordingIgesReader reader(path);
    EXPECT_EQ(reader.read(), 1u);
    EXPECT_EQ(reader.rootNodes().size(), 1u);
}
