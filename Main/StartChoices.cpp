#include "Main/StartChoices.h"

namespace kravelon {

TStartChoices ChooseStart(const TCommandLine& options, const TSettings& settings,
                          const TEnvironment& environment) {
  TStartChoices run;
  run.Language = !options.Language.empty()    ? options.Language
                 : !settings.Language().empty() ? settings.Language()
                                                : LanguageOfEnvironment(environment);
  run.Speech = options.Speech;
  if (run.Speech == TSpeechChoice::Auto && settings.Speech())
    run.Speech = *settings.Speech() ? TSpeechChoice::On : TSpeechChoice::Off;
  run.Scale = options.Scale;
  run.FittedScale = options.Scale > 0 ? 0 : settings.Scale();
  run.Windowed = options.Windowed.value_or(settings.Windowed());
  run.Level = options.Level.value_or(settings.Level().value_or(DefaultLevel));
  for (const TRuleSwitch rule : AllRuleSwitches)
    SetRule(run.Rules, rule,
            options.Rules[rule].value_or(settings.Rule(rule).value_or(RuleOn(TRules{}, rule))));
  return run;
}

}  // namespace kravelon
