/* Preloaded into the sanitizer test runs: dlclose does nothing, so libraries that Mesa and SDL
   load and unload (the DRI driver, LLVM) stay mapped and LeakSanitizer can name the module of a
   leak inside them, which lets the suppressions in lsan.supp match it. */
int dlclose(void* handle) {
  (void)handle;
  return 0;
}
