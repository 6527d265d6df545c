// cResources: loading every shared asset in the asset manifest's order, and the shaders' parameter
// table. Pictures are decoded ahead on worker threads while the main thread opens the music, builds
// fonts and reads models; every GL call, the texture uploads included, stays on the main thread.
#include "assets/Resources.h"

#include "assets/DataManifest.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace VantorGL {

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Builds one program the usual way: program object, vertex stage, fragment stage and link.
void BuildProgram(cShaderSystem& shader) {
    if (!shader.InitProgramObject()) return;
    if (!shader.InitVertexShader()) return;
    shader.InitFragmentShader();
}

struct cLitValues {
    GLuint colorMap, normalMap, heightMap, specularMap;
    float r, specPower, specOverdrive, ambient;
    cVector3f lightPosition;
    const cVector3f* lightPosition2;  // null: the class default stays
    cVector3f lightColor, light2Color;
};

// The lit programs' CubeMap sampler (unit 4) is never read by their stages, and the pictures the
// table names for it are 2D textures, which a cube target refuses (GL_INVALID_OPERATION at every
// Bind). So unit 4 gets no texture; what the programs show is unchanged.
void Configure(cLitSurfaceShader& shader, const cLitValues& v) {
    shader.SetCubeMap(0);
    shader.SetColorMap(v.colorMap);
    shader.SetNormalMap(v.normalMap);
    shader.SetHeightMap(v.heightMap);
    shader.SetSpecularMap(v.specularMap);
    shader.SetR(1.0f - v.r);  // the setter stores 1 minus its argument: the table gives the result
    shader.SetSpecPower(v.specPower);
    shader.SetSpecOverdrive(v.specOverdrive);
    shader.SetAmbient(v.ambient);
    shader.LightPosition = v.lightPosition;
    if (v.lightPosition2) shader.LightPosition2 = *v.lightPosition2;
    shader.LightColor = v.lightColor;
    shader.Light2Color = v.light2Color;
}

struct cTextureRow {
    cTextureSystem* member;
    const char* path;
};

// The registry's pictures, decoded in load order by worker threads from construction on. A file
// named by two rows is decoded once and uploaded twice (two texture names, as two loads give).
class cPicturePrefetch {
public:
    explicit cPicturePrefetch(const std::vector<cTextureRow>& table)
        : rows(table.data()), count(int(table.size())), slots(table.size()) {
        GLint size = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
        maxTextureSize = size;
        for (int i = 0; i < count; ++i) {
            slots[i].source = i;
            for (int j = 0; j < i; ++j)
                if (std::strcmp(rows[j].path, rows[i].path) == 0) {
                    slots[i].source = slots[j].source;
                    break;
                }
            slots[slots[i].source].lastUse = i;
        }
        // One core stays with the main thread, which has its own loading to do meanwhile.
        unsigned cores = std::max(2u, std::thread::hardware_concurrency());
        unsigned workerCount = std::min(cores - 1, 3u);
        for (unsigned i = 0; i < workerCount; ++i) {
            try {
                workers.emplace_back([this] { Work(); });
            } catch (const std::system_error&) {
                break;  // fewer workers; with none, Upload decodes on the main thread
            }
        }
    }

    ~cPicturePrefetch() {
        next = count;  // nothing new starts
        for (std::thread& worker : workers) worker.join();
    }

    // Uploads row `row` exactly as cTextureSystem::Load would have loaded it.
    void Upload(int row) {
        Slot& slot = slots[slots[row].source];
        if (workers.empty()) {
            Decode(slots[row].source);
        } else {
            std::unique_lock<std::mutex> lock(mutex);
            decoded.wait(lock, [&] { return slot.done; });
        }
        rows[row].member->LoadDecoded(rows[row].path, slot.ok, slot.picture, slot.error);
        if (slot.lastUse == row) slot.picture = cDecodedPicture();  // the pixels are on the GPU now
    }

private:
    struct Slot {
        int source = 0;   // the row whose decode this row shares (itself for a first mention)
        int lastUse = 0;  // the last row uploading this decode
        cDecodedPicture picture;
        std::string error;
        bool ok = false;
        bool done = false;  // guarded by the mutex once workers run
    };

    void Decode(int row) {
        Slot& slot = slots[row];
        if (slot.done) return;
        slot.ok = DecodeTextureFile(rows[row].path, maxTextureSize, slot.picture, slot.error);
        slot.done = true;
    }

    void Work() {
        for (int row = next++; row < count; row = next++) {
            if (slots[row].source != row) continue;
            Slot& slot = slots[row];
            cDecodedPicture picture;
            std::string error;
            bool ok = DecodeTextureFile(rows[row].path, maxTextureSize, picture, error);
            std::lock_guard<std::mutex> lock(mutex);
            slot.picture = std::move(picture);
            slot.error = std::move(error);
            slot.ok = ok;
            slot.done = true;
            decoded.notify_all();
        }
    }

    const cTextureRow* rows;
    int count;
    int maxTextureSize = 0;
    std::vector<Slot> slots;
    std::atomic<int> next{0};
    std::mutex mutex;
    std::condition_variable decoded;
    std::vector<std::thread> workers;
};

}  // namespace

int cResources::SelectMusic() {
    for (const cDataFile& row : AssetManifest())
        if (RegistryMember<cMusicSystem>(*this, row) == &music) music.SetFile(row.path);
    return 0;
}

int cResources::LoadAll() {
    std::vector<cTextureRow> pictures;
    for (const cDataFile& row : AssetManifest())
        if (cTextureSystem* texture = RegistryMember<cTextureSystem>(*this, row)) pictures.push_back({texture, row.path});
    // The soundtrack decodes on a worker of its own, beside the picture workers, while this
    // thread builds fonts, uploads pictures and reads models; it attaches (and says what it has to
    // say) once the rest has loaded. Without a thread it decodes right here.
    std::vector<cMusicSystem*> players;
    for (const cDataFile& row : AssetManifest())
        if (cMusicSystem* player = RegistryMember<cMusicSystem>(*this, row)) players.push_back(player);
    Clock::time_point start = Clock::now();
    std::thread musicDecoding;
    struct Joiner {  // joined on every way out, an exception from the loaders below included
        std::thread& worker;
        ~Joiner() {
            if (worker.joinable()) worker.join();
        }
    } joiner{musicDecoding};
    try {
        musicDecoding = std::thread([&players] {
            for (cMusicSystem* player : players) player->Decode();
        });
    } catch (const std::system_error&) {
        for (cMusicSystem* player : players) player->Decode();
    }
    loadTimes.music += MillisecondsSince(start);
    start = Clock::now();
    cPicturePrefetch prefetch(pictures);  // decoding starts now
    loadTimes.textures += MillisecondsSince(start);

    int uploaded = 0;
    for (const cDataFile& row : AssetManifest()) {
        start = Clock::now();
        if (RegistryMember<cMusicSystem>(*this, row)) {
            // The bitmap face reads no file of ours: it comes where the music is in the table,
            // before the first picture.
            fontArial.CreateBitmapGlyphs("", "Arial", -16);
            loadTimes.fonts += MillisecondsSince(start);
        } else if (cFontSystem* font = RegistryMember<cFontSystem>(*this, row)) {
            font->CreateOutlineGlyphs(row.path, "Action Force Normal", -26);
            loadTimes.fonts += MillisecondsSince(start);
        } else if (RegistryMember<cTextureSystem>(*this, row)) {
            prefetch.Upload(uploaded++);
            loadTimes.textures += MillisecondsSince(start);
        } else if (c3DsModelSystem* model = RegistryMember<c3DsModelSystem>(*this, row)) {
            model->Load(row.path);
            loadTimes.models += MillisecondsSince(start);
        }
    }

    start = Clock::now();
    if (musicDecoding.joinable()) musicDecoding.join();
    for (cMusicSystem* player : players) player->Attach(nullptr);
    loadTimes.music += MillisecondsSince(start);

    start = Clock::now();
    cubeMap.CreateCube(1024, 1024);
    loadTimes.targets += MillisecondsSince(start);

    start = Clock::now();
    BuildShaders();
    ConfigureShaders();
    loadTimes.shaders += MillisecondsSince(start);
    return 0;
}

bool cResources::Reload(const cDataFile& row) {
    if (cTextureSystem* texture = RegistryMember<cTextureSystem>(*this, row)) {
        const GLuint before = texture->texture;
        if (!texture->Reload(row.path)) return false;
        if (texture->texture != before) ConfigureShaders();
        return true;
    }
    if (c3DsModelSystem* model = RegistryMember<c3DsModelSystem>(*this, row)) return model->Reload(row.path);
    if (cMusicSystem* player = RegistryMember<cMusicSystem>(*this, row)) return player->Reload();
    return false;
}

void cResources::BuildShaders() {
    for (cShaderSystem* shader : std::initializer_list<cShaderSystem*>{
             &npLightPillar, &npLightTerFloor, &npLightTerWall, &tavikObjectShaderA, &tavikObjectShaderB,
             &torbObjectShader, &mvLogoShader, &crystalRingShader, &crystalRefractShader, &crystalCaveRefractShader,
             &shadowCageShader}) {
        BuildProgram(*shader);
    }
    if (gaussianMapShader.InitProgramObject() && gaussianMapShader.InitVertexShader())
        gaussianMapShader.InitMap(1024, 768);
    BuildProgram(radialBlurShader);
    BuildProgram(distortShader);
}

void cResources::ConfigureShaders() {
    const cVector3f terLight2{-1000.0f, 500.0f, 5.0f};
    const cVector3f tavikLight2{100.0f, 300.0f, 0.0f};
    Configure(npLightPillar, {texPillarroomDiff.texture, texPillarroomNorm.texture, texPillarroomSpec.texture,
                              texPillarroomSpec.texture, 1.0f, 32, 1, 0.3f, {10, 5, 5}, nullptr, {0.5f, 0.5f, 0.5f},
                              {0.0f, 0.3f, 0.0f}});
    npLightPillar.SetFogDensity(0.0005f);
    npLightPillar.SetFogColor({0.2f, 0.2f, 0.5f});
    Configure(npLightTerFloor, {texTerFloorComp.texture, texTerFloorNorm.texture, texTerFloorComp.texture,
                                texTerFloorComp.texture, 1.0f, 32, 10, 0.2f, {1000, 500, 5}, &terLight2, {1, 1, 1},
                                {1, 1, 1}});
    npLightTerFloor.SetFogDensity(0.0005f);
    npLightTerFloor.SetFogColor({1, 1, 1});
    Configure(npLightTerWall, {texTerWallComp.texture, texTerWallNorm.texture, texTerWallComp.texture,
                               texTerWallComp.texture, 1.0f, 32, 5, 0.5f, {10, 5, 5}, &terLight2, {0.5f, 0.5f, 0.5f},
                               {0.0f, 0.3f, 0.0f}});
    npLightTerWall.SetFogDensity(0.0001f);
    npLightTerWall.SetFogColor({0.5f, 0.5f, 0.5f});
    const cLitValues tavik = {texBgSphere.texture, texFlatNormal.texture, texHumanplantTemplate.texture,
                              texBox01Diffuse.texture, 0.9f, 32, 1, 0.0f, {-100, -300, 0}, &tavikLight2, {1, 1, 1},
                              {1, 1, 1}};
    Configure(tavikObjectShaderA, tavik);
    tavikObjectShaderA.SetColor({0, 0, 0});
    cLitValues tavikB = tavik;
    tavikB.r = 1.0f;
    tavikB.ambient = 0.1f;
    Configure(tavikObjectShaderB, tavikB);
    tavikObjectShaderB.SetColor({0, 0, 0});
    cLitValues logo = tavik;
    logo.lightColor = {0, 0, 0};
    logo.light2Color = {0, 0, 0};
    Configure(mvLogoShader, logo);
    Configure(torbObjectShader, logo);  // stored like the logo's; no scene binds it
    Configure(crystalRingShader, {texBgSphere.texture, texCrystalNormalMap.texture, texHumanplantTemplate.texture,
                                  texBox01Diffuse.texture, 0.0f, 32, 3, 0.7f, {-100, -300, 0}, &tavikLight2,
                                  {1, 1, 1}, {0.7f, 0.7f, 1.0f}});
    crystalRingShader.SetAlpha(1.0f);

    crystalRefractShader.SetColorMap(texFlatNormal.texture);
    crystalRefractShader.SetCubeMap(cubeMap.texture);  // the cube made just before: order matters
    crystalRefractShader.SetRefractionIndex(1.0f);
    crystalRefractShader.SetCrystalColor({0.2f, 0.2f, 0.3f});
    crystalCaveRefractShader.SetColorMap(texFlatNormal.texture);
    crystalCaveRefractShader.SetCubeMap(cubeMap.texture);
    crystalCaveRefractShader.SetRefractionIndex(1.0f);
    crystalCaveRefractShader.SetCrystalColor({0.0f, 0.0f, 0.1f});

    shadowCageShader.SetSourceTexture(texHumanplantTemplate.texture);
    radialBlurShader.SetScale(-0.1f);
    radialBlurShader.SetStart(1.0f);
    radialBlurShader.SetIterations(100);
    radialBlurShader.SetCenter(0.5f, 0.5f);
}

}  // namespace VantorGL
