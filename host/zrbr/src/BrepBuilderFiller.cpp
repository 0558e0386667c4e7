#include "zrbr/ZrBrepBuilderFiller.h"

#include <vector>

#include "RecordLayout.h"

namespace {

class RecordReader {
public:
    RecordReader(ZrBrepBuilder& builder, const RecordLayout::Record& record) : m_builder(builder), m_record(record)
    {
    }

    Nimb::ErrorStatus read()
    {
        for (const RecordLayout::Vertex& vertex : m_record.vertices)
            m_vertices.push_back(m_builder.addVertex(vertex.point));
        for (const RecordLayout::Edge& edge : m_record.edges)
            m_edges.push_back(addEdge(edge));
        for (const RecordLayout::Complex& complex : m_record.complexes) {
            const ZrBrepBuilder::Id complexId = m_builder.addComplex();
            for (const RecordLayout::Shell& shell : complex) {
                const ZrBrepBuilder::Id shellId = m_builder.addShell(complexId);
                for (const RecordLayout::Face& face : shell)
                    addFace(shellId, face);
            }
        }
        return m_status;
    }

private:
    bool vertexKnown(int index) const { return index >= 0 && index < static_cast<int>(m_vertices.size()); }

    ZrBrepBuilder::Id addEdge(const RecordLayout::Edge& edge)
    {
        if (!vertexKnown(edge.startVertex) || !vertexKnown(edge.endVertex)) {
            m_status = Nimb::eInvalidInput;
            return -1;
        }
        if (!edge.curve.object)
            return -1;
        return m_builder.addEdge(*edge.curve.object, m_vertices[edge.startVertex], m_vertices[edge.endVertex]);
    }

    void addFace(ZrBrepBuilder::Id shell, const RecordLayout::Face& face)
    {
        if (!face.surface.object)
            return;
        const ZrBrepBuilder::Id faceId = m_builder.addFace(shell, *face.surface.object, face.reversed != 0);
        if (faceId < 0)
            return;
        if (face.hasColour)
            m_builder.setFaceColor(faceId, face.colour);
        for (const ZrArray<RecordLayout::Coedge>& loop : face.loops) {
            const ZrBrepBuilder::Id loopId = m_builder.addLoop(faceId);
            for (const RecordLayout::Coedge& coedge : loop)
                addCoedge(loopId, coedge);
        }
    }

    void addCoedge(ZrBrepBuilder::Id loop, const RecordLayout::Coedge& coedge)
    {
        if (coedge.edge < 0 || coedge.edge >= static_cast<int>(m_edges.size())) {
            m_status = Nimb::eInvalidInput;
            return;
        }
        const ZrBrepBuilder::Id edge = m_edges[coedge.edge];
        if (edge >= 0)
            m_builder.addCoedge(loop, edge, coedge.reversed != 0, coedge.parameterCurve.object);
    }

    ZrBrepBuilder& m_builder;
    const RecordLayout::Record& m_record;
    std::vector<ZrBrepBuilder::Id> m_vertices;
    std::vector<ZrBrepBuilder::Id> m_edges;
    Nimb::ErrorStatus m_status = Nimb::eOk;
};

} // namespace

Nimb::ErrorStatus ZrBrepBuilderFiller::initFrom(ZrBrepBuilder& builder, const BrepBuilderInitialData& record)
{
    if (!builder.hasEngine() || builder.isFinished())
        return Nimb::eNotApplicable;
    // The record is read through the builder's own declaration of its layout.
    const auto& layout = *reinterpret_cast<const RecordLayout::Record*>(&record);
    return RecordReader(builder, layout).read();
}
