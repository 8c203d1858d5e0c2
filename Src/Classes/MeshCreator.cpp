// The terrain job from files to the mesh element: loading, the checks of the job, and the
// reports the user sees.
#include "Classes/MeshCreator.hpp"

#include "APICommon.hpp"
#include "Helpers/BinFileHelper.hpp"
#include "Simple3dslib/Simple3ds.hpp"
#include "SimpleDxflib/SimpleDxf.hpp"

namespace {

// A surface file the job names: set and with a path the file system can show.
bool Usable(const IO::Location& location)
{
	GS::UniString text;
	return !location.IsEmpty() && location.ToDisplayText(&text) == NoError;
}

// Reads the whole file and parses it with parse(bytes), which answers how its reading ended:
// the read error (reported with missing), or 0; a parse that stopped early is reported
// (with unparsable, or as a file that does not fit in memory) and the run goes on.
template <typename Parse>
GSErrCode LoadWhole(const IO::Location& location, const char* missing, const char* unparsable, Parse&& parse)
{
	std::vector<unsigned char> bytes;
	const GS::UniString name = location.ToDisplayText();
	if (const GSErrCode err = ReadBinaryData(bytes, location)) {
		WriteReport_Alert(missing, name.ToCStr().Get());
		return err;
	}
	ReportStoppedRead(parse(bytes), name.ToCStr().Get(), unparsable);
	return NoError;
}

} // namespace

GSErrCode CMeshCreator::LoadDxfFile(SimpleDxf::SimpleDxf& drawing, const IO::Location& location)
{
	return LoadWhole(location, "Error: DXF File (%s) not found!", "Error while parsing DXF File (%s)!",
	                 [&](const std::vector<unsigned char>& bytes) {
		                 drawing.LoadSceneFromMemory(bytes);
		                 return drawing.outcome;
	                 });
}

GSErrCode CMeshCreator::Load3dsFile(Simple3dsScene& scene, const IO::Location& location)
{
	return LoadWhole(location, "Error: 3DS File (%s) not found!", "Error while parsing 3DS File (%s)!",
	                 [&](const std::vector<unsigned char>& bytes) { return Simple3ds::LoadScene(scene, bytes); });
}

GSErrCode CMeshCreator::CreateMesh()
{
	SimpleDxf::SimpleDxf drawing;
	if (options_.useLevelLines && !options_.dxfFile.IsEmpty()) {
		if (const GSErrCode err = LoadDxfFile(drawing, options_.dxfFile)) return err;
		// The 2D drawing of the same file reports its refused inserts when it is drawn.
		if (!options_.baseMapDrawn && !drawing.unresolved.empty()) WriteReport_AlertPrefixed("Base map: ", drawing.unresolved.c_str());
	}
	const IO::Location terrainFile = Usable(options_.terrainFile) ? options_.terrainFile : IO::Location();
	const bool road = Usable(options_.roadFile), water = Usable(options_.waterFile);
	if (options_.areaPolygon.GetSize() < 3) {
		WriteReport_Alert("Could not open building area file, or area file is corrupted, terrain cannot be generated.");
		return APIERR_BADPARS;
	}
	Simple3dsScene terrainScene, roadScene, waterScene;
	if (const GSErrCode err = Load3dsFile(terrainScene, terrainFile)) return err;
	if (road)
		if (const GSErrCode err = Load3dsFile(roadScene, options_.roadFile)) return err;
	if (water)
		if (const GSErrCode err = Load3dsFile(waterScene, options_.waterFile)) return err;

	TerrainResult result;
	if (!BuildTerrain(terrainScene, roadScene, waterScene, drawing, result)) {
		WriteReport_Alert("Error: 3DS File (%s) holds no terrain vertices, terrain cannot be generated.",
		                  terrainFile.ToDisplayText().ToCStr().Get());
		return APIERR_BADPARS;
	}
	return CreateMeshImp(result.contour, result.elevationPoints, result.levelLines, result.zMin);
}
