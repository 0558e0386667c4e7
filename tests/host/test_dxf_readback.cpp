// Drawings of real imports saved as DXF and read back by another program
// (ezdxf, through scripts/dxf-check.py): each file loads strictly, and holds
// the drawing's blocks, references, meshes and colours.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include <zrbr/ZrModelerGeometry.h>
#include <zrcore/NimbHost.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbBody.h>
#include <zrdb/ZrDbCurves.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbDxfOut.h>
#include <zrdb/ZrDbObjectPtr.h>
#include <zrdb/ZrDbSymbolTable.h>

#include "DrawingModels.h"
#include "DxfDrawing.h"
#include "Fixtures.h"

namespace {

using OpenFile = int (*)(const char*, ZrDbDatabase**, bool, void (*)(int), void (*)());

// What a command prints on standard output.
std::string run(const std::string& command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()))
        out += buffer;
    return out;
}

std::string checker(const std::string& arguments)
{
    return run("'" QUOR_SCRIPTS_DIR "/dxf-check.py' " + arguments);
}

// The colour the way the checker prints it.
std::string colourText(ZrCmEntityColor colour)
{
    switch (colour.colorMethod()) {
    case ZrCmEntityColor::kByBlock: return "byblock";
    case ZrCmEntityColor::kByIndex: return "index " + std::to_string(colour.colorIndex());
    case ZrCmEntityColor::kByColor:
        return "rgb " + std::to_string(colour.red()) + " " + std::to_string(colour.green()) + " " +
               std::to_string(colour.blue());
    default: return "bylayer";
    }
}

// "mesh closed|open SHOWN (MESH)": a closed body must give a closed mesh,
// and the faces show their own colours or the entity's.
std::string bodyText(const ZrModelerGeometry* body, ZrCmEntityColor entityColour)
{
    ZrModelerMesh mesh;
    body->tessellate(ZrModelerMeshParams(), mesh);
    std::set<std::string> shown;
    for (const ZrModelerMesh::Face& face : mesh.faces)
        if (face.numTriangles > 0)
            shown.insert(colourText(face.hasColor ? ZrCmEntityColor::fromValue(face.color) : entityColour));
    std::string text = std::string("mesh ") + (body->isClosed() ? "closed " : "open ");
    for (const std::string& colour : shown)
        text += (colour == *shown.begin() ? "" : " + ") + colour;
    return text + " (" + (shown.size() == 1 ? *shown.begin() : colourText(entityColour)) + ")";
}

std::string entityText(ZrDbObjectId id)
{
    ZrDbObjectPtr<ZrDbEntity> entity(id, ZrDb::kForRead);
    if (!entity)
        return "(cannot open)";
    const std::string colour = colourText(entity->entityColor());
    if (auto* reference = ZrDbBlockReference::cast(entity.get())) {
        ZrDbObjectPtr<ZrDbBlockTableRecord> block(reference->blockTableRecord(), ZrDb::kForRead);
        ZrString name;
        block->getName(name);
        return "insert " + name.utf8() + " " + colour;
    }
    if (auto* solid = ZrDb3dSolid::cast(entity.get()))
        return bodyText(solid->modelerGeometry(), entity->entityColor());
    if (auto* surface = ZrDbSurface::cast(entity.get()))
        return bodyText(surface->modelerGeometry(), entity->entityColor());
    std::string kind = ZrString(entity->isA()->name()).utf8().substr(4); // "ZrDbLine" -> "line"
    for (char& c : kind)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return kind + " " + colour;
}

void describeEntities(ZrDbObjectId blockId, std::string& out)
{
    ZrDbObjectPtr<ZrDbBlockTableRecord> block(blockId, ZrDb::kForRead);
    for (ZrDbObjectId id : block->entityIds())
        out += "  " + entityText(id) + "\n";
}

// The drawing as the checker describes what it read: blocks by name, then
// model space.
std::string describe(ZrDbDatabase* db)
{
    std::map<std::string, ZrDbObjectId> blocks;
    {
        ZrDbObjectPtr<ZrDbBlockTable> table(db->blockTableId(), ZrDb::kForRead);
        for (ZrDbObjectId id : table->recordIds()) {
            ZrDbObjectPtr<ZrDbBlockTableRecord> block(id, ZrDb::kForRead);
            if (block && !block->isLayout())
                blocks[block->nameText().utf8()] = id;
        }
    }
    std::string out;
    for (const auto& block : blocks) {
        out += "block " + block.first + "\n";
        describeEntities(block.second, out);
    }
    out += "model space\n";
    describeEntities(db->modelSpaceId(), out);
    return out;
}

// Polyface meshes of a file: their point and face counts, and the face
// records that follow them.
struct MeshCounts {
    std::vector<std::pair<int, int>> meshes;
    int faceRecords = 0;
};

MeshCounts meshCounts(const std::string& text)
{
    MeshCounts counts;
    std::istringstream in(text);
    std::string code, value;
    bool inHead = false;
    while (std::getline(in, code) && std::getline(in, value)) {
        const int group = std::stoi(code);
        if (group == 0) {
            inHead = value == "POLYLINE";
            if (inHead)
                counts.meshes.emplace_back(0, 0);
        } else if (inHead && group == 71) {
            counts.meshes.back().first = std::stoi(value);
        } else if (inHead && group == 72) {
            counts.meshes.back().second = std::stoi(value);
        } else if (group == 70 && value == "128") {
            ++counts.faceRecords;
        }
    }
    return counts;
}

class DxfReadback : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_EQ(host.loadPlugin(L"" QUOR_BIN_DIR "/zrquor.zrx", error), Nimb::eOk) << error;
        open = reinterpret_cast<OpenFile>(host.pluginSymbol("nimbOpenFile"));
        ASSERT_NE(open, nullptr);
    }

    // Opens file as a drawing, saves it and reads it back: the checker's
    // account of the file, and the drawing's own.
    std::pair<std::string, std::string> saveAndRead(const std::string& file, const std::string& dxf)
    {
        ZrDbDatabase* db = nullptr;
        if (open(file.c_str(), &db, false, nullptr, nullptr) != 0 || !db)
            return {"cannot open " + file, ""};
        std::string error;
        const Nimb::ErrorStatus saved = zrdbSaveAsDxf(db, dxf, error);
        const std::string expected = describe(db);
        EXPECT_TRUE(db->openObjects().empty());
        EXPECT_TRUE(db->reportedErrors().empty()) << db->reportedErrors().front();
        releaseDb(db);
        if (saved != Nimb::eOk)
            return {"cannot save: " + error, expected};
        return {checker("--describe '" + dxf + "'"), expected};
    }

    NimbHost host;
    OpenFile open = nullptr;
};

} // namespace

TEST_F(DxfReadback, EveryModelReadsBackWhole)
{
    std::vector<fixtures::DrawingModelFile> files = {{"machine.step", QUOR_SAMPLE_DIR "/machine.step"},
                                                     {"machine.igs", QUOR_SAMPLE_DIR "/machine.igs"}};
    const std::string folder = std::filesystem::path(fixtures::tempPath("models")).string();
    std::filesystem::create_directories(folder);
    for (const fixtures::DrawingModelFile& file : fixtures::writeDrawingModels(folder))
        files.push_back(file);
    std::map<std::string, std::string> read;
    for (const fixtures::DrawingModelFile& file : files) {
        const auto result = saveAndRead(file.path, folder + "/" + file.name + ".dxf");
        EXPECT_EQ(result.first, result.second) << file.name;
        read[file.name] = result.first;
    }
    // The colours as imported, whatever the drawing says.
    const std::pair<const char*, const char*> seen[] = {
        {"machine.step", "block Base plate\n  mesh closed rgb 123 148 203 (rgb 123 148 203)\n"},
        {"machine.igs", "  mesh closed rgb 231 89 89 (rgb 231 89 89)\n"},
        {"face-colours.stp",
         "block Dice\n  mesh closed byblock + bylayer + rgb 0 0 254 + rgb 187 187 187 + rgb 254 0 0 (bylayer)\n"},
        {"faces.stp", "block Wave\n  mesh open rgb 123 203 243 (rgb 123 203 243)\n"},
        {"scripts.stp", "block \xF0\x9F\x94\xA9 bolt\n  mesh closed bylayer (bylayer)\n"},
        {"solids.igs", "block Torus\n  mesh closed rgb 243 231 89 (rgb 243 231 89)\n"},
    };
    for (const auto& expected : seen)
        EXPECT_NE(read[expected.first].find(expected.second), std::string::npos)
            << expected.first << " lacks\n" << expected.second << "in\n" << read[expected.first];
}

// Bodies beyond the format's limit become several meshes; small ones are
// split here the same way through a lower limit.
TEST_F(DxfReadback, ABodyBeyondTheMeshLimitBecomesSeveralMeshes)
{
    ZrDbDatabase* db = nullptr;
    ASSERT_EQ(open(QUOR_SAMPLE_DIR "/machine.step", &db, false, nullptr, nullptr), 0);
    std::ostringstream whole, split;
    std::string error;
    ASSERT_EQ(zrdbWriteDxfDrawing(db, whole, error, kMaxDxfMeshCount), Nimb::eOk) << error;
    ASSERT_EQ(zrdbWriteDxfDrawing(db, split, error, 100), Nimb::eOk) << error;
    releaseDb(db);
    const MeshCounts one = meshCounts(whole.str()), many = meshCounts(split.str());
    EXPECT_EQ(one.meshes.size(), 8u);
    EXPECT_GT(many.meshes.size(), 2 * one.meshes.size());
    EXPECT_EQ(many.faceRecords, one.faceRecords);
    int faces = 0;
    for (const auto& mesh : many.meshes) {
        EXPECT_LE(mesh.first, 100);
        EXPECT_LE(mesh.second, 100);
        faces += mesh.second;
    }
    EXPECT_EQ(faces, many.faceRecords);
    const std::string path = fixtures::writeText("split.dxf", split.str());
    EXPECT_EQ(checker("'" + path + "'"), "ok " + path + "\n");
}

TEST(DxfCheck, RefusesWhatAStrictReaderWouldNot)
{
    ZrDbDatabasePtr db = ZrDbDatabasePtr::adopt(new ZrDbDatabase(true, true));
    std::string error;
    const std::string good = fixtures::tempPath("empty.dxf");
    ASSERT_EQ(zrdbSaveAsDxf(db.get(), good, error), Nimb::eOk) << error;
    EXPECT_EQ(checker("'" + good + "'"), "ok " + good + "\n");
    std::ifstream in(good);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Each spoilt copy breaks one rule: an object without an owner, a handle
    // used twice, the old release, an owner that is not there.
    const std::pair<std::string, std::string> spoilt[] = {
        {"\n330\n0\n100\nAcDbSymbolTable\n", "\n100\nAcDbSymbolTable\n"},
        {"ACDBPLACEHOLDER\n5\n", "ACDBPLACEHOLDER\n5\n1\n999\n"},
        {"AC1024", "AC1015"},
        {"ENDBLK\n5\n", "ENDBLK\n330\nFFFE\n5\n"},
    };
    for (const auto& change : spoilt) {
        std::string copy = text;
        const std::size_t at = copy.find(change.first);
        ASSERT_NE(at, std::string::npos) << change.first;
        copy.replace(at, change.first.size(), change.second);
        const std::string path = fixtures::writeText("spoilt.dxf", copy);
        EXPECT_EQ(checker("'" + path + "'").rfind("fault " + path + ": ", 0), 0u) << change.second;
    }
}
