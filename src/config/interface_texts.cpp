// The two tables of interface texts: key, window, widget and built-in German text.
#include "config/interface_texts.h"

#include "app/code_search_controls.h"
#include "app/main_gadgets.h"
#include "app/menu_items.h"
#include "config/settings_controls.h"
#include "services/database_info_controls.h"
#include "services/update_controls.h"

namespace config {
namespace {

using P = TextPlace;

const std::vector<InterfaceText> texts = {
    {"#Cnf_LabelDB", P::Settings, DatabaseLabelControl, "Datenbank-Pfad (*.xml):"},
    {"#Cnf_LabelLib", P::Settings, LibraryLabelControl,
     "Library-Pfad (Hauptordner über ButtonGadget, CalenderGadget,...):"},
    {"#Cnf_Paths2Pref", P::Settings, KeepPathsControl, "Speichert Pfade mit 'Speichern'"},
    {"#Cnf_Frame1", P::Settings, PathsFrameControl, "Pfade (Datenbank) temporär oder dauerhaft ändern ..."},
    {"#Cnf_LangLabel", P::Settings, LanguageLabelControl, "Sprache"},
    {"#Cnf_Language", P::Settings, LanguageListControl, "German\tEnglish\tFrench"},
    {"#Cnf_LangFont", P::Settings, FontLabelControl, "Zeichensatz für Dateianzeige"},
    {"#Cnf_FontChoose", P::Settings, FontButtonControl, "Zeichensatz ändern"},
    {"#Cnf_LabelSearch", P::Settings, SearchScopeLabelControl, "Suche in"},
    {"#Cnf_SearchMode", P::Settings, SearchScopeListControl,
     "Index + Beschreibung (akt. Sprache)\tNur Index (akt. Sprache)\tIndex + Beschreibung (alle Sprachen)"},
    {"#Cnf_LabelHint", P::Settings, SearchHintLabelControl, "'Nicht gefunden' Hinweis"},
    {"#Cnf_SearchFailHint", P::Settings, SearchHintListControl,
     "Beide Effekte\tFenster-'shake'\tSuchfeld blinkt"},
    {"#Cnf_LabelTitle", P::Settings, TitleContentLabelControl, "Fenstertitel-Inhalt"},
    {"#Cnf_FileNameLen", P::Settings, TitleContentListControl,
     "Nur Dateiname\tUnterordner & Dateiname\tVoller Pfad & Dateiname"},
    {"#Cnf_LabelMark", P::Settings, CodeMarkingLabelControl, "Editor Code-Hervorhebung"},
    {"#Cnf_CodeMarking", P::Settings, CodeMarkingListControl,
     "Reiner Text\tFett, graue Kommentare\tBlau+Fett, graue Kommentare"},
    {"#Cnf_DyeNews", P::Settings, NewTopicsControl, "Neue Themen m. farb. Schrift (index)"},
    {"#Cnf_WinData2Pref", P::Settings, WindowGeometryControl, "Fensterpos. u. größe mitspeichern"},
    {"#Cnf_Frame2", P::Settings, ProgramFrameControl, "Programm-Einstellungen ..."},
    {"#DbA_Frame1", P::DatabaseInfo, services::LibraryFrameControl, "Datenbank & Library ..."},
    {"#DbA_LabelDb", P::DatabaseInfo, services::DatabaseLabelControl, "Datenbank (xml):"},
    {"#DbA_LabelCont", P::DatabaseInfo, services::ContentLabelControl, "Inhalt:"},
    {"#DbA_LabelLib", P::DatabaseInfo, services::LibraryLabelControl, "Library (Hauptordner):"},
    {"#DbA_LabelTop", P::DatabaseInfo, services::TopicsLabelControl, "Themen:"},
    {"#DbA_LabelEnt", P::DatabaseInfo, services::EntriesLabelControl, "Einträge:"},
    {"#DbA_Frame2", P::DatabaseInfo, services::FileFrameControl, "Gewählte Datei ..."},
    {"#DbA_LabelFile", P::DatabaseInfo, services::FileLabelControl, "Datei (+ Unterordner):"},
    {"#DbA_LabelSrcForm", P::DatabaseInfo, services::CodeFormatLabelControl, "Code-Format:"},
    {"#DbA_LabelExeForm", P::DatabaseInfo, services::ExecutableFormatLabelControl, "Executable-Format:"},
    {"#Upt_LabelAppGtk2", P::Update, services::ProgramUpdateLabelControl, "App-Update gtk2 verfügbar? "},
    {"#Upt_LabelAppGtk3", P::Update, services::Gtk3UpdateLabelControl, "App-Update gtk3 verfügbar? "},
    {"#Upt_LabelXml", P::Update, services::LibraryUpdateLabelControl,
     "API-Update (Codes & Datenbank) verfügbar? "},
    {"#PuInf_AboutApp", P::InfoMenu, app::AboutProgramMenuItem, "Über Linux ZN-ZID-Idavode-Ruriva ..."},
    {"#PuInf_AboutDb", P::InfoMenu, app::AboutDatabaseMenuItem, "Über Datenbank ..."},
    {"#PuInf_IsUpdate", P::InfoMenu, app::UpdateCheckMenuItem, "Auf Updates prüfen ..."},
    {"#PuInf_OpnCode", P::InfoMenu, app::OpenCodeMenuItem, "Mit Standard-App öffnen"},
};

const std::vector<InterfaceText> tooltips = {
    {"#Cnf_DbShow", P::Settings, DatabasePathControl, "Pfad der Datenbank-Datei (xml)."},
    {"#Cnf_DbChoose", P::Settings, DatabaseChooserControl, "Dateiauswahl für die Datenbank-Datei (xml)"},
    {"#Cnf_LibShow", P::Settings, LibraryPathControl,
     "Hauptpfad (Hautordner) der Library. Kann leer bleiben falls identisch mit dem Viewer-Verzeichnis."},
    {"#Cnf_LibChoose", P::Settings, LibraryChooserControl,
     "Dateiauswahl für das Library-Hauptverzeichnis, falls nicht identisch mit Viewer-Verzeichnis."},
    {"#Cnf_Paths2Pref", P::Settings, KeepPathsControl,
     "Ausgewählt werden die Pfadeinstellungen bei 'Speichern' mitgesichert, anders kann temporät gearbeitet "
     "werden."},
    {"#Cnf_Apply", P::Settings, ApplyControl, "Übernimmt (temporär) die Pfade und lädt die Datenbank neu."},
    {"#Cnf_Language", P::Settings, LanguageListControl,
     "Wählt die Sprache für den Index und die Beschreibung. Fränzösich ist noch Englisch!"},
    {"#Cnf_Fontname", P::Settings, FontNameControl,
     "Aktuell gewählter Zeichensatz für den Code. Änderung über die Schaltfläche rechts."},
    {"#Cnf_FontChoose", P::Settings, FontButtonControl, "Öffnet die Zeichensatz-Auswahl."},
    {"#Cnf_SearchMode", P::Settings, SearchScopeListControl, "Wählt den Umfang des Suchmodus."},
    {"#Cnf_SearchFailHint", P::Settings, SearchHintListControl,
     "Wählt den Typ für Hinweise bei nicht (weiter) gefundenen Suchbegriffen."},
    {"#Cnf_FileNameLen", P::Settings, TitleContentListControl,
     "Wählt den Inhalt (Länge) der Fenster-Titelzeile."},
    {"#Cnf_CodeMarking", P::Settings, CodeMarkingListControl,
     "Wählt die Kennzeichnung für Schlüsselwörter. Reiner Text ist 'Aus'."},
    {"#Cnf_DyeNews", P::Settings, NewTopicsControl,
     "Blue Index-Schrift für neue Themen. Ausschalten falls bei dunklen Hintergründen nicht mehr lesbar."},
    {"#Cnf_WinData2Pref", P::Settings, WindowGeometryControl,
     "Ausgewählt werden immer die letzte Fensterposition und -größe sowie die Splitterposition gespeichert."},
    {"#Cnf_Cancel", P::Settings, CancelControl, "Schließt ohne Übernahme der Änderungen."},
    {"#Cnf_OkSave", P::Settings, SaveControl,
     "Übernimmt und speichert die Einstellungen in der *.ini-Datei."},
    {"#DbA_ToDb", P::DatabaseInfo, services::FolderIconControl,
     "Klick öffnet den Dateimanager mit dem Library-Pfad."},
    {"#DbA_CopyFile", P::DatabaseInfo, services::CopyIconControl,
     "Klick kopiert den Code-Pfad ins Clipboard."},
    {"#Main_NodeToggle", P::Main, app::NodeToggleGadget, "Öffnet und schließt alle Knoten."},
    {"#Main_FindNext", P::Main, app::FindButtonGadget,
     "[F3] Sucht nächsten Eintrag (auch [Return] bei Cursor im Eingabefeld."},
    {"#Main_Find", P::Main, app::SearchFieldGadget,
     "Ausdruck suchen im Index (& Beschreibung) in der akt. Sprache (oder alle). Siehe Settings."},
    {"#Main_CbHistory", P::Main, app::HistoryListGadget, "Liste aller zuletzt gewählten Code-Dateien."},
    {"#Main_Quickcopy", P::Main, app::CopyButtonGadget,
     "Kopiert den kompletten Code in die Zwischenablage. Auch Drag&Drop von Indexeinträgen nach ZN möglich!"},
    {"#Main_Setting", P::Main, app::SettingsButtonGadget,
     "Programmeinstellungen & Requester für die Datenbank (xml) und das Library-Oberverzeichnis."},
    {"#Main_Help", P::Main, app::HelpButtonGadget, "Öffnet die Programm-Hilfe-Datei im Editor."},
    {"#Main_Info", P::Main, app::InfoButtonGadget, "Öffnet den Programm-Info-Dialog."},
    {"#Main_EdDescript", P::Main, app::DescriptionGadget, "Zeigt eine kurze Beschreibung der Funktion."},
};

// "{n}" and "{total}" stand for the numbers.
const std::vector<InterfaceText> composed = {
    {"#Code_Title", P::CodeSearch, app::CodeSearchWindowControl, "Im Code suchen"},
    {"#Code_Topics", P::CodeSearch, app::CodeSearchStatusControl, "{n} Thema\t{n} Themen"},
    {"#Code_Lines", P::CodeSearch, app::CodeSearchStatusControl, "{n} Zeile\t{n} Zeilen"},
    {"#Code_More", P::CodeSearch, app::CodeSearchStatusControl, "nur die ersten {n} Themen sind aufgeführt"},
    {"#Code_Reading", P::CodeSearch, app::CodeSearchProgressControl, "Lese Code: {n} von {total} Dateien"},
};

std::string findGerman(const std::vector<InterfaceText>& table, TextPlace place, int widget) {
  for (const InterfaceText& entry : table) {
    if (entry.place == place && entry.widget == widget) return entry.german;
  }
  return std::string();
}

}  // namespace

const std::vector<InterfaceText>& interfaceTexts() { return texts; }
const std::vector<InterfaceText>& interfaceTooltips() { return tooltips; }
const std::vector<InterfaceText>& composedTexts() { return composed; }

std::string builtInText(TextPlace place, int widget) { return findGerman(texts, place, widget); }
std::string builtInTooltip(TextPlace place, int widget) { return findGerman(tooltips, place, widget); }

}  // namespace config
