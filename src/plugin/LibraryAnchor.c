/* The shared library's own translation unit: everything else comes from vantrel_core,
 * linked whole so that every export is present. */
int vantrel_solid_library_anchor;
