// What the popup menus' items do, how a menu is placed and how an item is drawn; and the
// statistics box of the game-over menu.
#include <algorithm>
#include <string>

#include "Common/Text.h"
#include "Main/Main1.h"
#include "Main/Statistics.h"
#include "Platform/Memory.h"
#include "Toolkit/FitText.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Pause.h"

namespace kravelon {

namespace {

// Room a caption leaves at each side of its item: a little, or the tick's width where one goes.
constexpr int MenuTextMargin = 8;
constexpr int MenuTickSpace = 44;

}  // namespace

void TMain1::SetUpMenus() {
  Menus.RestartItem.OnClick = [this](TMenuItem&) { RestartClick(); };
  Menus.GameOverRestartItem.OnClick = Menus.RestartItem.OnClick;
  Menus.ArrangeItem.OnClick = [this](TMenuItem&) { ArrangeClick(); };
  Menus.AboutItem.OnClick = [this](TMenuItem&) { AboutClick(); };
  Menus.ExitItem.OnClick = [this](TMenuItem&) { ExitClick(); };
  Menus.GameOverExitItem.OnClick = Menus.ExitItem.OnClick;
  Menus.YesItem.OnClick = [this](TMenuItem&) { ConfirmExitClick(); };
  Menus.StatisticsItem.OnClick = [this](TMenuItem&) { ShowStatistics(); };
  Menus.HostItem.OnClick = [this](TMenuItem&) { HostClick(); };
  Menus.JoinItem.OnClick = [this](TMenuItem&) { JoinClick(); };
  for (std::size_t i = 0; i < AllLevels.size(); ++i)
    Menus.LevelItems[i].OnClick = [this, level = AllLevels[i]](TMenuItem&) { LevelClick(level); };
  for (const TRuleSwitch rule : AllRuleSwitches)
    Menus.RuleItems[rule].OnClick = [this, rule](TMenuItem& item) { RuleClick(rule, item.Checked); };
  // A player who switches the sound off expects silence at once: a shot still ringing stops.
  Menus.SoundItem.OnClick = [this](TMenuItem& item) {
    if (!item.Checked && Sound) Sound->Stop();
    SoundSwitched(item.Checked);
  };
  Sound->SoundOn = [this] { return Menus.SoundItem.Checked; };
}

void TMain1::PrepareMenu(TPopupMenu& menu) {
  menu.Alignment = TPopupAlignment::Center;
  menu.OwnerDraw = true;
  menu.OnHighlightChanged = [this](const TPopupMenu& shown, bool opened) {
    if (!Speaks()) return;
    const std::string text = MenuSpeech(shown, opened, TGameMenus::SwitchTag, TGameMenus::ChoiceTag);
    if (!text.empty()) Narrator->Focus(text);
  };
  for (TMenuItem* item : menu.Items) {
    item->OnDrawItem = [this](TMenuItem& sender, TCanvas& canvas, const TRect& rect,
                              bool selected) { DrawMenuItem(sender, canvas, rect, selected); };
    item->OnMeasureItem = [this](TMenuItem& sender, TCanvas& canvas, int& width, int& height) {
      MeasureMenuItem(sender, canvas, width, height);
    };
  }
}

// The anchor is the middle of the menu's top edge: the menu stands centred on the screen,
// 4 pixels higher.
void TMain1::ShowMenu(TPopupMenu& menu) {
  const int n = static_cast<int>(menu.Items.size());
  const std::optional<TPoint> pointer = PointerPosition();
  MenuItemHeight = TGameMenus::ItemHeightIn(menu.Items.size());
  menu.Popup(ScreenCenterPoint.X, ScreenCenterPoint.Y - (MenuItemHeight / 2) * n - 4);
  PointerBack(pointer);
}

void TMain1::MeasureMenuItem(TMenuItem&, TCanvas&, int& width, int& height) {
  width = TGameMenus::ItemWidth;
  height = MenuItemHeight;
}

void TMain1::DrawMenuItem(TMenuItem& sender, TCanvas& canvas, const TRect& rect, bool selected) {
  if (!Paint) return;
  canvas.Font = Paint->MenuFont();
  canvas.BrushColor = clr::Blue;
  canvas.Font.Color = selected ? clr::Yellow : clr::Aqua;
  canvas.BrushStyle = TBrushStyle::Solid;
  // The item's pictures are made for the full height: a lower item takes them squeezed.
  const auto picture = [&](const char* name) {
    if (rect.Height() == TGameMenus::ItemHeight) {
      canvas.Draw(rect.Left, rect.Top, Paint->GetImage(name));
    } else {
      canvas.StretchDraw(rect, Paint->GetImage(name));
    }
  };
  if (!sender.Enabled) {
    canvas.Font.Color = clr::Lime;
    picture("IM_MENU");
  }
  if (selected && sender.Enabled) picture("IM_MENU_SELECT");
  if (!selected && sender.Enabled) canvas.FillRect(rect);
  canvas.BrushStyle = TBrushStyle::Clear;
  // A caption too long for the item shrinks or takes two lines, clear of the tick at its left
  // and centred as the others are.
  const bool ticked = sender.Tag == TGameMenus::SwitchTag || sender.Tag == TGameMenus::ChoiceTag;
  const int margin = ticked ? MenuTickSpace : MenuTextMargin;
  const TFittedText fitted = FitText(canvas, canvas.Font, sender.Caption, rect.Width() - 2 * margin,
                                     std::min(rect.Height(), TGameMenus::CaptionHeight));
  canvas.Font.Size = fitted.Size;
  const int h = canvas.TextHeight(sender.Caption);
  int y = rect.Top + (rect.Height() - h * static_cast<int>(fitted.Lines.size())) / 2;
  for (const std::string& line : fitted.Lines) {
    canvas.TextOut(rect.Left + (rect.Width() - canvas.TextWidth(line)) / 2, y, line);
    y += h;
  }
  if (ticked) {
    canvas.Font.Size = Paint->MenuFont().Size;
    canvas.Font.Name = "Webdings";
    // Where it stands in a full-height item, raised as much as the item is lower.
    const int raise = (TGameMenus::ItemHeight - rect.Height()) / 2;
    if (sender.Checked) canvas.TextOut(rect.Left + 8, rect.Top + 8 - raise, "a");
  }
}

void TMain1::RestartClick() {
  if (Engine && Engine->Remote() && Net.Link == TLink::Connected) {
    // After a game: another one against the same player, once both want it. During one: the
    // player leaves it for a game against the computer.
    if (Engine->State() == gsReport) {
      AgainClick();
    } else {
      LeaveNetGame(TByeReason::Restart);
    }
    return;
  }
  Sleep(500);
  NewGameNow();
}

void TMain1::NewGameNow() {
  const bool salvoShown = Engine && Engine->Rules().Salvo;
  if (Engine) Engine->NewGame();
  if (salvoShown) ShowStatus(StatusSector);  // the last game's salvo count goes with it
  // Ends an arrangement or a computer's turn in progress.
  Application->ClearIdle();
  // What the finished game's log texts and explosions freed goes back to the system.
  ReturnFreedMemory();
}

void TMain1::LevelClick(TLevel level) {
  if (!Engine) return;
  Menus.TickLevel(level);
  if (level == Engine->NextLevel()) return;
  Engine->SetLevel(level);
  // Kept like the sound switch, for the next run.
  if (Options.Settings) Note(Options.Settings->SaveLevel(level));
  // A game against a player goes on: the level waits for the next game against the computer.
  if (Engine->Remote()) {
    GameLogged("Game: " +
               Fill(Tr("Следующая партия с компьютером: противник %1"), {LevelName(level)}));
    return;
  }
  // Before the first shot nothing is lost: the placement starts again against the new opponent.
  if (Engine->State() == gsPlacing) {
    NewGameNow();
    return;
  }
  GameLogged("Game: " + Fill(Tr("Следующая партия: противник %1"), {LevelName(level)}));
}

void TMain1::RuleClick(TRuleSwitch rule, bool on) {
  if (!Engine) return;
  TRules rules = OwnRules();
  SetRule(rules, rule, on);
  Menus.TickRules(rules);
  if (Options.Settings) Note(Options.Settings->SaveRule(rule, on));
  // A guest who comes from now on plays by them.
  if (Net.Hosting) Network().SetRules(rules);
  // A game against a player goes on by the host's rules: these wait for the next game against
  // the computer.
  if (Engine->Remote()) {
    Net.OwnRules = rules;
    const std::string list = RulesList(rules);
    GameLogged("Game: " + (list.empty()
                               ? std::string(Tr("Следующая партия с компьютером: обычные правила"))
                               : Fill(Tr("Следующая партия с компьютером: правила: %1"), {list})));
    return;
  }
  Engine->SetRules(rules);
  // Before the first shot nothing is lost: the placement starts again by the new rules.
  if (Engine->State() == gsPlacing) {
    NewGameNow();
    return;
  }
  const std::string list = RulesList(rules);
  GameLogged("Game: " + (list.empty() ? std::string(Tr("Следующая партия: обычные правила"))
                                      : Fill(Tr("Следующая партия: правила: %1"), {list})));
}

void TMain1::ArrangeClick() {
  if (!Engine || !Paint || Paint->AboutShown()) return;
  if (Engine->State() != gsPlacing || Engine->ActiveSide() != sdUser) return;
  PlacementByMouse = false;
  InstallIdle(TIdleStep::Arrange);
}

void TMain1::AboutClick() {
  if (!Paint || Paint->AboutShown()) return;
  Paint->ShowAbout(true);
  Paint->Redraw();
  if (Narrator) Narrator->Message(Fill(Tr("Об игре: Кравелон, версия %1"), {Version}));
}

void TMain1::ExitClick() { ShowMenu(Menus.ExitMenu); }

void TMain1::ConfirmExitClick() { Close(); }

// The player expects the switch as they left it at the next start.
void TMain1::SoundSwitched(bool on) {
  if (Options.Settings) Note(Options.Settings->SaveSound(on));
}

void TMain1::ShowStatistics() {
  if (!Engine) return;
  const std::string text = StatisticsText(Engine->ComputerShots(), Engine->ComputerHits(),
                                          Summarize(Record().Games()), Engine->Remote());
  MessageBox(text, Application->Title, TMessageIcon::Information);
}

}  // namespace kravelon
