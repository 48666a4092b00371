/* FreeType's modules in the web build: the TrueType and CFF (OpenType) drivers with what they
 * need, and no rasteriser, hinter or other format. The program reads unhinted outlines only, and
 * the modules left out stay out of the page's wasm. Copied over FreeType's
 * include/freetype/config/ftmodule.h by scripts/build-web.sh. */
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Driver_ClassRec, cff_driver_class )
FT_USE_MODULE( FT_Module_Class, psaux_module_class )
FT_USE_MODULE( FT_Module_Class, psnames_module_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
