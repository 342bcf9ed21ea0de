#include "DisplayLayer.h"

#include <array>
#include <cstring>

// The names and numbers of the display platform's error codes. The numbers are the platform's
// published ones: severity bit and facility 0x876 with the error's number, except for the five
// that reuse the general system codes.

namespace korvane {

namespace {

struct NamedCode {
    const char* name;
    DisplayCode code;
};

using namespace dderr;

constexpr std::array<NamedCode, kNameCount> kNamedCodes = {{
    {"DDERR_ALREADYINITIALIZED", MakeCode(5)},
    {"DDERR_BLTFASTCANTCLIP", MakeCode(574)},
    {"DDERR_CANNOTATTACHSURFACE", MakeCode(10)},
    {"DDERR_CANNOTDETACHSURFACE", MakeCode(20)},
    {"DDERR_CANTCREATEDC", MakeCode(585)},
    {"DDERR_CANTDUPLICATE", MakeCode(583)},
    {"DDERR_CANTLOCKSURFACE", MakeCode(435)},
    {"DDERR_CANTPAGELOCK", MakeCode(640)},
    {"DDERR_CANTPAGEUNLOCK", MakeCode(660)},
    {"DDERR_CLIPPERISUSINGHWND", MakeCode(567)},
    {"DDERR_COLORKEYNOTSET", MakeCode(400)},
    {"DDERR_CURRENTLYNOTAVAIL", MakeCode(40)},
    {"DDERR_DCALREADYCREATED", MakeCode(620)},
    {"DDERR_DIRECTDRAWALREADYCREATED", MakeCode(562)},
    {"DDERR_EXCEPTION", MakeCode(55)},
    {"DDERR_EXCLUSIVEMODEALREADYSET", MakeCode(581)},
    {"DDERR_GENERIC", kSystemFail},
    {"DDERR_HEIGHTALIGN", MakeCode(90)},
    {"DDERR_HWNDALREADYSET", MakeCode(571)},
    {"DDERR_HWNDSUBCLASSED", MakeCode(570)},
    {"DDERR_IMPLICITLYCREATED", MakeCode(588)},
    {"DDERR_INCOMPATIBLEPRIMARY", MakeCode(95)},
    {"DDERR_INVALIDCAPS", MakeCode(100)},
    {"DDERR_INVALIDCLIPLIST", MakeCode(110)},
    {"DDERR_INVALIDDIRECTDRAWGUID", MakeCode(561)},
    {"DDERR_INVALIDMODE", MakeCode(120)},
    {"DDERR_INVALIDOBJECT", MakeCode(130)},
    {"DDERR_INVALIDPARAMS", kSystemInvalidArg},
    {"DDERR_INVALIDPIXELFORMAT", MakeCode(145)},
    {"DDERR_INVALIDPOSITION", MakeCode(579)},
    {"DDERR_INVALIDRECT", MakeCode(150)},
    {"DDERR_INVALIDSURFACETYPE", MakeCode(592)},
    {"DDERR_LOCKEDSURFACES", MakeCode(160)},
    {"DDERR_NO3D", MakeCode(170)},
    {"DDERR_NOALPHAHW", MakeCode(180)},
    {"DDERR_NOBLTHW", MakeCode(575)},
    {"DDERR_NOCLIPLIST", MakeCode(205)},
    {"DDERR_NOCLIPPERATTACHED", MakeCode(568)},
    {"DDERR_NOCOLORCONVHW", MakeCode(210)},
    {"DDERR_NOCOLORKEY", MakeCode(215)},
    {"DDERR_NOCOLORKEYHW", MakeCode(220)},
    {"DDERR_NOCOOPERATIVELEVELSET", MakeCode(212)},
    {"DDERR_NODC", MakeCode(586)},
    {"DDERR_NODDROPSHW", MakeCode(576)},
    {"DDERR_NODIRECTDRAWHW", MakeCode(563)},
    {"DDERR_NODIRECTDRAWSUPPORT", MakeCode(222)},
    {"DDERR_NOEMULATION", MakeCode(565)},
    {"DDERR_NOEXCLUSIVEMODE", MakeCode(225)},
    {"DDERR_NOFLIPHW", MakeCode(230)},
    {"DDERR_NOGDI", MakeCode(240)},
    {"DDERR_NOHWND", MakeCode(569)},
    {"DDERR_NOMIPMAPHW", MakeCode(591)},
    {"DDERR_NOMIRRORHW", MakeCode(250)},
    {"DDERR_NOOVERLAYDEST", MakeCode(578)},
    {"DDERR_NOOVERLAYHW", MakeCode(260)},
    {"DDERR_NOPALETTEATTACHED", MakeCode(572)},
    {"DDERR_NOPALETTEHW", MakeCode(573)},
    {"DDERR_NORASTEROPHW", MakeCode(280)},
    {"DDERR_NOROTATIONHW", MakeCode(290)},
    {"DDERR_NOSTRETCHHW", MakeCode(310)},
    {"DDERR_NOT4BITCOLOR", MakeCode(316)},
    {"DDERR_NOT4BITCOLORINDEX", MakeCode(317)},
    {"DDERR_NOT8BITCOLOR", MakeCode(320)},
    {"DDERR_NOTAOVERLAYSURFACE", MakeCode(580)},
    {"DDERR_NOTEXTUREHW", MakeCode(330)},
    {"DDERR_NOTFLIPPABLE", MakeCode(582)},
    {"DDERR_NOTFOUND", MakeCode(255)},
    {"DDERR_NOTINITIALIZED", kSystemNotInitialised},
    {"DDERR_NOTLOCKED", MakeCode(584)},
    {"DDERR_NOTPAGELOCKED", MakeCode(680)},
    {"DDERR_NOTPALETTIZED", MakeCode(589)},
    {"DDERR_NOVSYNCHW", MakeCode(335)},
    {"DDERR_NOZBUFFERHW", MakeCode(340)},
    {"DDERR_NOZOVERLAYHW", MakeCode(350)},
    {"DDERR_OUTOFCAPS", MakeCode(360)},
    {"DDERR_OUTOFMEMORY", kSystemOutOfMemory},
    {"DDERR_OUTOFVIDEOMEMORY", MakeCode(380)},
    {"DDERR_OVERLAYCANTCLIP", MakeCode(382)},
    {"DDERR_OVERLAYCOLORKEYONLYONEACTIVE", MakeCode(384)},
    {"DDERR_OVERLAYNOTVISIBLE", MakeCode(577)},
    {"DDERR_PALETTEBUSY", MakeCode(387)},
    {"DDERR_PRIMARYSURFACEALREADYEXISTS", MakeCode(564)},
    {"DDERR_REGIONTOOSMALL", MakeCode(566)},
    {"DDERR_SURFACEALREADYATTACHED", MakeCode(410)},
    {"DDERR_SURFACEALREADYDEPENDENT", MakeCode(420)},
    {"DDERR_SURFACEBUSY", MakeCode(430)},
    {"DDERR_SURFACEISOBSCURED", MakeCode(440)},
    {"DDERR_SURFACELOST", MakeCode(450)},
    {"DDERR_SURFACENOTATTACHED", MakeCode(460)},
    {"DDERR_TOOBIGHEIGHT", MakeCode(470)},
    {"DDERR_TOOBIGSIZE", MakeCode(480)},
    {"DDERR_TOOBIGWIDTH", MakeCode(490)},
    {"DDERR_UNSUPPORTED", kSystemNotImplemented},
    {"DDERR_UNSUPPORTEDFORMAT", MakeCode(510)},
    {"DDERR_UNSUPPORTEDMASK", MakeCode(520)},
    {"DDERR_UNSUPPORTEDMODE", MakeCode(590)},
    {"DDERR_VERTICALBLANKINPROGRESS", MakeCode(537)},
    {"DDERR_WASSTILLDRAWING", MakeCode(540)},
    {"DDERR_WRONGMODE", MakeCode(587)},
    {"DDERR_XALIGN", MakeCode(560)},
}};

} // namespace

namespace dderr {

DisplayCode CodeFor(const char* name) {
    if (name == nullptr) {
        return kDisplayOk;
    }
    for (const NamedCode& entry : kNamedCodes) {
        if (std::strcmp(entry.name, name) == 0) {
            return entry.code;
        }
    }
    return kDisplayOk;
}

const char* NameAt(int index) {
    if (index < 0 || index >= kNameCount) {
        return nullptr;
    }
    return kNamedCodes[static_cast<std::size_t>(index)].name;
}

DisplayCode CodeAt(int index) {
    if (index < 0 || index >= kNameCount) {
        return kDisplayOk;
    }
    return kNamedCodes[static_cast<std::size_t>(index)].code;
}

} // namespace dderr

std::string DisplayErrorName(DisplayCode code) {
    for (const NamedCode& entry : kNamedCodes) {
        if (entry.code == code) {
            return entry.name;
        }
    }
    return "Unknown Error";
}

std::string DisplayErrorMessage(DisplayCode code, int callId) {
    return "DirectDraw Error " + DisplayErrorName(code) + ", ID=" + std::to_string(callId);
}

} // namespace korvane
