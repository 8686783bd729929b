#include "GameEngine/Paint.h"

#include "GameEngine/Consol.h"
#include "GameEngine/Globals.h"

TPaint::TPaint(TForm& window, std::string version) : Window(window), Version(std::move(version)) {}

TPaint::~TPaint() = default;

bool TPaint::Initialize() { return true; }

void TPaint::Redraw() {}

void TPaint::ScrollConsole(int line) { ConsoleEnd = line; }

void TPaint::SetStatusText(const std::string& text) { StatusText = text; }

void TPaint::Log(std::string_view text) {
  if (!Consol) return;
  ConsoleEnd = Consol->Count() + 1;
  Consol->AddLine("Paint: " + std::string(text));
}
