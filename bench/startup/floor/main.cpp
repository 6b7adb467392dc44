// The floor of the start-up benchmark: the least a program needs to put a
// painted window of the program's size on the screen with the same stack
// (SDL2's window surface, Cairo drawing into it), then wait for events as
// an idle program does. Ends on SIGTERM or when the window is closed.

#include <SDL.h>
#include <cairo.h>

int main(int, char**) {
  // As the program does: the window surface is plain X11 memory, not a
  // texture of a GL renderer (which starts Mesa's threads and its memory).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("startup floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1300, 788,
                                        SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
  if (window == nullptr) return 1;
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface == nullptr) return 1;
  cairo_surface_t* target = cairo_image_surface_create_for_data(
      static_cast<unsigned char*>(surface->pixels), CAIRO_FORMAT_ARGB32, surface->w, surface->h, surface->pitch);
  cairo_t* cr = cairo_create(target);
  // A dark background, a caption band and a few rounded panels: something
  // of the program's look, painted once.
  cairo_set_source_rgb(cr, 0.07, 0.08, 0.09);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0.11, 0.12, 0.14);
  cairo_rectangle(cr, 0, 0, 1300, 49);
  cairo_fill(cr);
  for (int i = 0; i < 6; ++i) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, 40 + 200 * i + 8, 120 + 8, 8, 3.14159, 1.5 * 3.14159);
    cairo_arc(cr, 40 + 200 * i + 160 - 8, 120 + 8, 8, 1.5 * 3.14159, 0);
    cairo_arc(cr, 40 + 200 * i + 160 - 8, 420 - 8, 8, 0, 0.5 * 3.14159);
    cairo_arc(cr, 40 + 200 * i + 8, 420 - 8, 8, 0.5 * 3.14159, 3.14159);
    cairo_close_path(cr);
  }
  cairo_set_source_rgb(cr, 0.16, 0.18, 0.21);
  cairo_fill(cr);
  cairo_surface_flush(target);
  SDL_UpdateWindowSurface(window);

  SDL_Event event;
  while (SDL_WaitEvent(&event) != 0) {
    if (event.type == SDL_QUIT) break;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
      SDL_UpdateWindowSurface(window);
    }
  }
  cairo_destroy(cr);
  cairo_surface_destroy(target);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
