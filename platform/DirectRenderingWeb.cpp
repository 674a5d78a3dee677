#include "platform/DirectRendering.h"

#include <emscripten/emscripten.h>

// A page draws with the graphics processor where the browser offers WebGL without a major
// performance caveat. Without it (a blocklisted graphics processor, many virtual machines) WebGL
// would be a software rasteriser, or none: the picture is drawn in memory then, at its own size,
// and the page scales it.
bool DisplayRendersDirectly(SDL_Window*) {
    static const bool webgl = EM_ASM_INT({
                                  try {
                                      var gl = document.createElement('canvas').getContext(
                                          'webgl', {failIfMajorPerformanceCaveat : true});
                                      var lose = gl && gl.getExtension('WEBGL_lose_context');
                                      if (lose) lose.loseContext();
                                      return gl ? 1 : 0;
                                  } catch (e) {
                                      return 0;
                                  }
                              }) != 0;
    return webgl;
}
