// Web backend: JavaScript library functions that need other parts of emscripten's runtime in the
// page. SDL's audio resumes its WebAudio context on the page's first gesture through
// autoResumeAudioContext and calls back through dynCall; naming them here keeps them in the
// program's script.
mergeInto(LibraryManager.library, {
  glgui_screen_size__deps: ['$autoResumeAudioContext', '$dynCall'],
  glgui_screen_size: function(width, height) {
    HEAP32[width >> 2] = window.screen.width;
    HEAP32[height >> 2] = window.screen.height;
  },
});
