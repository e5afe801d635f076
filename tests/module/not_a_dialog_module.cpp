// Stands in for a broken settings dialog's module in the loader's tests: a library without the
// dialog's entry, or (with NEEDS_MISSING_SYMBOL) one that needs what no program defines.

#ifdef NEEDS_MISSING_SYMBOL
extern "C" int vortexa_symbol_no_program_defines();
extern "C" __attribute__((visibility("default"))) int vortexa_dialog_module()
{
    return vortexa_symbol_no_program_defines();
}
#else
extern "C" __attribute__((visibility("default"))) int vortexa_something_else() { return 0; }
#endif
