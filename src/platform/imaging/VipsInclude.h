#pragma once

// libvips pulls in GLib/GIO, whose structures have a field named `signals`; Qt defines `signals`
// as a keyword macro. Include libvips through this header so the order of includes never matters.
#pragma push_macro("signals")
#undef signals
#include <vips/vips8>
#pragma pop_macro("signals")
