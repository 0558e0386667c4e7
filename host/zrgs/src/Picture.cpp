#include "zrgs/ZrGsPicture.h"

#include <cstdlib>

#include <Aspect_DisplayConnection.hxx>
#include <Graphic3d_ArrayOfPoints.hxx>
#include <Graphic3d_ArrayOfPolylines.hxx>
#include <Graphic3d_ArrayOfSegments.hxx>
#include <Graphic3d_ArrayOfTriangles.hxx>
#include <Graphic3d_AspectFillArea3d.hxx>
#include <Graphic3d_AspectLine3d.hxx>
#include <Graphic3d_AspectMarker3d.hxx>
#include <Graphic3d_Group.hxx>
#include <Graphic3d_Structure.hxx>
#include <Image_AlienPixMap.hxx>
#include <OpenGl_GraphicDriver.hxx>
#include <Standard_ErrorHandler.hxx>
#include <Standard_Failure.hxx>
#include <V3d_AmbientLight.hxx>
#include <V3d_DirectionalLight.hxx>
#include <V3d_View.hxx>
#include <V3d_Viewer.hxx>
#include <Xw_Window.hxx>

#include "DrawingScene.h"

namespace {

// Pictures that would need more memory than this many pixels are refused.
constexpr long kMaxPixels = 8192L * 8192L;

Quantity_Color colourOf(ZrGsRgb rgb)
{
    return Quantity_Color(rgb.red / 255.0, rgb.green / 255.0, rgb.blue / 255.0, Quantity_TOC_sRGB);
}

Quantity_Color grey(int level) { return colourOf({static_cast<std::uint8_t>(level), static_cast<std::uint8_t>(level),
                                                  static_cast<std::uint8_t>(level)}); }

gp_Pnt kernelPoint(const ZrGePoint3d& p) { return gp_Pnt(p.x, p.y, p.z); }

// A surface lit mostly by its own colour, with a faint sheen.
Graphic3d_MaterialAspect matte(const Quantity_Color& colour)
{
    Graphic3d_MaterialAspect material(Graphic3d_NameOfMaterial_UserDefined);
    material.SetMaterialType(Graphic3d_MATERIAL_PHYSIC);
    material.SetAmbientColor(Quantity_Color(colour.Rgb() * 0.3f));
    material.SetDiffuseColor(Quantity_Color(colour.Rgb() * 0.7f));
    material.SetSpecularColor(Quantity_Color(Graphic3d_Vec3(0.08f)));
    material.SetEmissiveColor(Quantity_Color(Graphic3d_Vec3(0.0f)));
    material.SetShininess(0.4f);
    return material;
}

void addFaces(const Handle(Graphic3d_Structure)& structure, ZrGsRgb rgb, bool closed, const ZrGsTriangles& triangles)
{
    if (triangles.corners.empty())
        return;
    Handle(Graphic3d_ArrayOfTriangles) array = new Graphic3d_ArrayOfTriangles(
        static_cast<int>(triangles.points.size()), static_cast<int>(triangles.corners.size()),
        Graphic3d_ArrayFlags_VertexNormal);
    for (std::size_t i = 0; i < triangles.points.size(); ++i) {
        const ZrGeVector3d& n = triangles.normals[i];
        array->AddVertex(kernelPoint(triangles.points[i]), n.isZeroLength() ? gp_Dir(0, 0, 1) : gp_Dir(n.x, n.y, n.z));
    }
    for (std::size_t i = 0; i + 2 < triangles.corners.size(); i += 3)
        array->AddEdges(triangles.corners[i] + 1, triangles.corners[i + 1] + 1, triangles.corners[i + 2] + 1);
    Graphic3d_MaterialAspect material = matte(colourOf(rgb));
    Handle(Graphic3d_AspectFillArea3d) aspect = new Graphic3d_AspectFillArea3d(
        Aspect_IS_SOLID, colourOf(rgb), grey(0), Aspect_TOL_SOLID, 1.0, material, material);
    // A closed body is seen from outside only: a face turned inside out
    // leaves a hole instead of passing for a good one.
    aspect->SetFaceCulling(closed ? Graphic3d_TypeOfBackfacingModel_BackCulled
                                  : Graphic3d_TypeOfBackfacingModel_DoubleSided);
    Handle(Graphic3d_Group) group = structure->NewGroup();
    group->SetClosed(closed);
    group->SetGroupPrimitivesAspect(aspect);
    group->AddPrimitiveArray(array);
}

void addLines(const Handle(Graphic3d_Structure)& structure, const ZrGsScene& scene)
{
    if (!scene.edges.empty()) {
        Handle(Graphic3d_ArrayOfSegments) edges = new Graphic3d_ArrayOfSegments(static_cast<int>(2 * scene.edges.size()));
        for (const auto& edge : scene.edges) {
            edges->AddVertex(kernelPoint(edge.first));
            edges->AddVertex(kernelPoint(edge.second));
        }
        Handle(Graphic3d_Group) group = structure->NewGroup();
        group->SetGroupPrimitivesAspect(new Graphic3d_AspectLine3d(grey(25), Aspect_TOL_SOLID, 1.5));
        group->AddPrimitiveArray(edges);
    }
    for (const ZrGsPolyline& curve : scene.curves) {
        Handle(Graphic3d_ArrayOfPolylines) line = new Graphic3d_ArrayOfPolylines(static_cast<int>(curve.points.size()));
        for (const ZrGePoint3d& p : curve.points)
            line->AddVertex(kernelPoint(p));
        Handle(Graphic3d_Group) group = structure->NewGroup();
        group->SetGroupPrimitivesAspect(new Graphic3d_AspectLine3d(colourOf(curve.colour), Aspect_TOL_SOLID, 2.0));
        group->AddPrimitiveArray(line);
    }
    for (const auto& point : scene.points) {
        Handle(Graphic3d_ArrayOfPoints) marker = new Graphic3d_ArrayOfPoints(1);
        marker->AddVertex(kernelPoint(point.second));
        Handle(Graphic3d_Group) group = structure->NewGroup();
        group->SetGroupPrimitivesAspect(new Graphic3d_AspectMarker3d(Aspect_TOM_BALL, colourOf(point.first), 4.0));
        group->AddPrimitiveArray(marker);
    }
}

// Light from above, in front and a little to the right, so that the three
// sides of a box seen in the isometric view come out in three shades.
void light(const Handle(V3d_Viewer)& viewer)
{
    Handle(V3d_DirectionalLight) sun = new V3d_DirectionalLight(gp_Dir(-0.3, 0.6, -1.0), Quantity_NOC_WHITE);
    sun->SetIntensity(1.0f);
    Handle(V3d_AmbientLight) ambient = new V3d_AmbientLight(Quantity_NOC_WHITE);
    ambient->SetIntensity(1.0f);
    viewer->AddLight(sun);
    viewer->AddLight(ambient);
    viewer->SetLightOn();
}

Nimb::ErrorStatus render(const ZrGsScene& scene, const std::string& path, const ZrGsPictureOptions& options,
                         std::string& error)
{
    Handle(Aspect_DisplayConnection) display = new Aspect_DisplayConnection();
    Handle(OpenGl_GraphicDriver) driver = new OpenGl_GraphicDriver(display, false);
    Handle(V3d_Viewer) viewer = new V3d_Viewer(driver);
    light(viewer);
    Handle(V3d_View) view = viewer->CreateView();
    Handle(Xw_Window) window = new Xw_Window(display, "nimb", 0, 0, options.width, options.height);
    window->SetVirtual(true);
    view->SetWindow(window);
    view->SetBgGradientColors(colourOf({46, 52, 64}), colourOf({112, 122, 138}), Aspect_GradientFillMethod_Vertical);
    view->Camera()->SetProjectionType(Graphic3d_Camera::Projection_Orthographic);
    view->SetProj(V3d_XposYnegZpos);

    Handle(Graphic3d_Structure) structure = new Graphic3d_Structure(viewer->StructureManager());
    for (const auto& faces : scene.faces)
        addFaces(structure, faces.first.first, faces.first.second, faces.second);
    addLines(structure, scene);
    structure->Display();
    view->FitAll(0.06, false);
    view->ZFitAll();

    Image_AlienPixMap image;
    if (!view->ToPixMap(image, options.width, options.height)) {
        error = "the view could not be rendered";
        return Nimb::eGeneralModelingFailure;
    }
    if (!image.Save(TCollection_AsciiString(path.c_str()))) {
        error = "cannot write " + path;
        return Nimb::eInvalidInput;
    }
    return Nimb::eOk;
}

} // namespace

Nimb::ErrorStatus zrgsSavePicture(ZrDbDatabase* db, const std::string& path, const ZrGsPictureOptions& options,
                                  std::string& error)
{
    if (!db) {
        error = Nimb::errorStatusText(Nimb::eNullObjectPointer);
        return Nimb::eNullObjectPointer;
    }
    if (options.width < 16 || options.height < 16 || static_cast<long>(options.width) * options.height > kMaxPixels) {
        error = "a picture of " + std::to_string(options.width) + " x " + std::to_string(options.height) +
                " pixels cannot be made";
        return Nimb::eInvalidInput;
    }
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        error = "no display to render on (DISPLAY is not set; run under xvfb-run)";
        return Nimb::eInvalidInput;
    }
    const ZrGsScene scene = zrgsBuildScene(db);
    if (scene.isEmpty()) {
        error = "model space shows nothing";
        return Nimb::eInvalidInput;
    }
    try {
        OCC_CATCH_SIGNALS
        return render(scene, path, options, error);
    } catch (const Standard_Failure& failure) {
        error = std::string("rendering failed: ") + failure.GetMessageString();
        return Nimb::eGeneralModelingFailure;
    }
}
