// The Ogg Vorbis decoder the browser platform uses: stb_vorbis as Debian ships it (libstb-dev),
// compiled here once, memory reading only.
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include <stb_vorbis.h>
