// Loading the message box's text library: one dlopen of pango's cairo binding, whose
// dependencies bring cairo, pango, GObject and GLib, and a dlsym for each function used.
#include "textlib.h"

#include <dlfcn.h>

namespace wayland {

namespace {

// The library's run-time name on Debian; the package that ships it recommends no more.
const char kLibraryName[] = "libpangocairo-1.0.so.0";

// A symbol of the library, or of the libraries it depends on, as a function of its type.
template <class TFunction>
bool Find(void* pLibrary, const char* lpszName, TFunction* ppfn)
{
    // POSIX guarantees that an object pointer from dlsym converts to a function pointer.
    *ppfn = reinterpret_cast<TFunction>(dlsym(pLibrary, lpszName));
    return *ppfn != nullptr;
}

bool FindAll(void* p, CTextLibrary* t)
{
    return Find(p, "cairo_create", &t->cairo_create) &&
           Find(p, "cairo_destroy", &t->cairo_destroy) &&
           Find(p, "cairo_image_surface_create", &t->cairo_image_surface_create) &&
           Find(p, "cairo_image_surface_create_for_data",
                &t->cairo_image_surface_create_for_data) &&
           Find(p, "cairo_move_to", &t->cairo_move_to) &&
           Find(p, "cairo_paint", &t->cairo_paint) &&
           Find(p, "cairo_rectangle", &t->cairo_rectangle) &&
           Find(p, "cairo_scale", &t->cairo_scale) &&
           Find(p, "cairo_set_line_width", &t->cairo_set_line_width) &&
           Find(p, "cairo_set_source_rgb", &t->cairo_set_source_rgb) &&
           Find(p, "cairo_stroke", &t->cairo_stroke) &&
           Find(p, "cairo_surface_destroy", &t->cairo_surface_destroy) &&
           Find(p, "cairo_surface_flush", &t->cairo_surface_flush) &&
           Find(p, "g_free", &t->g_free) &&
           Find(p, "g_object_unref", &t->g_object_unref) &&
           Find(p, "g_utf8_make_valid", &t->g_utf8_make_valid) &&
           Find(p, "pango_cairo_create_layout", &t->pango_cairo_create_layout) &&
           Find(p, "pango_cairo_show_layout", &t->pango_cairo_show_layout) &&
           Find(p, "pango_font_description_free", &t->pango_font_description_free) &&
           Find(p, "pango_font_description_from_string", &t->pango_font_description_from_string) &&
           Find(p, "pango_layout_get_pixel_size", &t->pango_layout_get_pixel_size) &&
           Find(p, "pango_layout_set_ellipsize", &t->pango_layout_set_ellipsize) &&
           Find(p, "pango_layout_set_font_description", &t->pango_layout_set_font_description) &&
           Find(p, "pango_layout_set_height", &t->pango_layout_set_height) &&
           Find(p, "pango_layout_set_text", &t->pango_layout_set_text) &&
           Find(p, "pango_layout_set_width", &t->pango_layout_set_width) &&
           Find(p, "pango_layout_set_wrap", &t->pango_layout_set_wrap);
}

const CTextLibrary* Load()
{
    // Kept loaded for the rest of the run: GLib cannot be unloaded once its types exist.
    void* pLibrary = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (pLibrary == nullptr)
        return nullptr;
    static CTextLibrary s_library;
    return FindAll(pLibrary, &s_library) ? &s_library : nullptr;
}

}  // namespace

const CTextLibrary* TextLibrary()
{
    static const CTextLibrary* s_pLibrary = Load();
    return s_pLibrary;
}

}  // namespace wayland
