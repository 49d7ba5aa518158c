// Placeholder plug-ins for the formats that CQVImage.dll leaves out (they need libraries
// that are not built: libtiff, OpenEXR, OpenJPEG, LibRaw, libwebp, JPEG XR).
//
// FreeImage numbers its plug-ins in registration order and drops a plug-in whose Init leaves
// format_proc NULL, which would move every later format to another number (FIF_GIF would
// become DDS). These placeholders therefore give the name, description, extensions and MIME
// type only. Without load, save and validate procedures the format is never detected,
// FreeImage_FIFSupportsReading/Writing answer FALSE and FreeImage_Load returns NULL, while
// FreeImage_GetFIFFromFilename still names the format.
#include "FreeImage.h"
#include "Utilities.h"
#include "Plugin.h"

#define CQV_PLACEHOLDER_PLUGIN(NAME, FORMAT, DESCRIPTION, EXTENSIONS, MIME)         \
  static const char *DLL_CALLCONV NAME##Format() { return FORMAT; }                 \
  static const char *DLL_CALLCONV NAME##Description() { return DESCRIPTION; }       \
  static const char *DLL_CALLCONV NAME##Extension() { return EXTENSIONS; }          \
  static const char *DLL_CALLCONV NAME##Mime() { return MIME; }                     \
  void DLL_CALLCONV Init##NAME(Plugin *plugin, int /*format_id*/) {                 \
    plugin->format_proc = NAME##Format;                                             \
    plugin->description_proc = NAME##Description;                                   \
    plugin->extension_proc = NAME##Extension;                                       \
    plugin->mime_proc = NAME##Mime;                                                 \
  }

CQV_PLACEHOLDER_PLUGIN(TIFF, "TIFF", "Tagged Image File Format (not in this build)", "tif,tiff", "image/tiff")
CQV_PLACEHOLDER_PLUGIN(G3, "G3", "Raw fax format CCITT G.3 (not in this build)", "g3", "image/fax-g3")
CQV_PLACEHOLDER_PLUGIN(EXR, "EXR", "ILM OpenEXR (not in this build)", "exr", "image/x-exr")
CQV_PLACEHOLDER_PLUGIN(J2K, "J2K", "JPEG-2000 codestream (not in this build)", "j2k,j2c", "image/j2k")
CQV_PLACEHOLDER_PLUGIN(JP2, "JP2", "JPEG-2000 File Format (not in this build)", "jp2", "image/jp2")
CQV_PLACEHOLDER_PLUGIN(RAW, "RAW", "RAW camera image (not in this build)",
  "3fr,arw,bay,bmq,cap,cine,cr2,crw,cs1,dc2,dcr,drf,dsc,dng,erf,fff,ia,iiq,k25,kc2,kdc,mdc,mef,mos,"
  "mrw,nef,nrw,orf,pef,ptx,pxn,qtk,raf,raw,rdc,rw2,rwl,rwz,sr2,srf,srw,sti,x3f", "image/x-dcraw")
CQV_PLACEHOLDER_PLUGIN(WEBP, "WebP", "Google WebP image format (not in this build)", "webp", "image/webp")
CQV_PLACEHOLDER_PLUGIN(JXR, "JPEG-XR", "JPEG XR image format (not in this build)", "jxr,wdp,hdp", "image/vnd.ms-photo")
