#pragma once
// The program speaks Russian whatever the machine's language: Qt's own texts
// (the buttons of message boxes and wizards, the context menus of edits) come
// from Qt's Russian translations, and the default locale is Russian, so that
// calendars name months and days in Russian and whatever Qt formats by the
// locale reads as a Russian user expects.

// Sets the default locale and installs Qt's Russian translations in the
// running application (once per application object; the locale alone when
// there is none yet). False when Qt's translations are not installed: Qt's
// own texts then stay English.
bool InstallRussianLanguage();
