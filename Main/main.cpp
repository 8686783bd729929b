// Program entry: the toolkit, the application titled "Кравелон", the main window, the loop.
#include <cstdio>
#include <exception>
#include <memory>

#include "GameEngine/Geometry.h"
#include "Main/Main1.h"
#include "Toolkit/Forms.h"
#include "Toolkit/Scale.h"

int main() {
  std::string error;
  if (!InitializeToolkit(error)) {
    std::fprintf(stderr, "kravelon: %s\n", error.c_str());
    return 1;
  }
  SetDisplayScale(FitDisplayScale(DetectDisplayScale(), WindowWidth, WindowHeight));
  {
    TApplication application;
    application.Title = "Кравелон";
    try {
      auto window = std::make_unique<TMain1>();
      application.MainForm = window.get();
      application.Run();
    } catch (...) {
      application.ShowException(std::current_exception());
    }
  }
  ShutdownToolkit();
  return 0;
}
