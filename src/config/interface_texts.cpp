// The two tables of interface texts: key, window, widget and built-in German text.
#include "config/interface_texts.h"

#include "base/control_numbers.h"

namespace config {
namespace {

using P = TextPlace;

const std::vector<InterfaceText> texts = {
    {"#Cnf_LabelDB", P::Settings, base::DatabaseLabelControl, "Datenbank-Pfad (*.xml):"},
    {"#Cnf_LabelLib", P::Settings, base::LibraryLabelControl,
     "Library-Pfad (Hauptordner über ButtonGadget, CalenderGadget,...):"},
    {"#Cnf_Paths2Pref", P::Settings, base::KeepPathsControl, "Speichert Pfade mit 'Speichern'"},
    {"#Cnf_Frame1", P::Settings, base::PathsFrameControl,
     "Pfade (Datenbank) temporär oder dauerhaft ändern ..."},
    {"#Cnf_LangLabel", P::Settings, base::LanguageLabelControl, "Sprache"},
    {"#Cnf_Language", P::Settings, base::LanguageListControl, "German\tEnglish\tFrench"},
    {"#Cnf_LangFont", P::Settings, base::FontLabelControl, "Zeichensatz für Dateianzeige"},
    {"#Cnf_FontChoose", P::Settings, base::FontButtonControl, "Zeichensatz ändern"},
    {"#Cnf_LabelSearch", P::Settings, base::SearchScopeLabelControl, "Suche in"},
    {"#Cnf_SearchMode", P::Settings, base::SearchScopeListControl,
     "Index + Beschreibung (akt. Sprache)\tNur Index (akt. Sprache)\tIndex + Beschreibung (alle Sprachen)"},
    {"#Cnf_LabelHint", P::Settings, base::SearchHintLabelControl, "'Nicht gefunden' Hinweis"},
    {"#Cnf_SearchFailHint", P::Settings, base::SearchHintListControl,
     "Beide Effekte\tFenster-'shake'\tSuchfeld blinkt"},
    {"#Cnf_LabelTitle", P::Settings, base::TitleContentLabelControl, "Fenstertitel-Inhalt"},
    {"#Cnf_FileNameLen", P::Settings, base::TitleContentListControl,
     "Nur Dateiname\tUnterordner & Dateiname\tVoller Pfad & Dateiname"},
    {"#Cnf_LabelMark", P::Settings, base::CodeMarkingLabelControl, "Editor Code-Hervorhebung"},
    {"#Cnf_CodeMarking", P::Settings, base::CodeMarkingListControl,
     "Reiner Text\tFett, graue Kommentare\tBlau+Fett, graue Kommentare"},
    {"#Cnf_DyeNews", P::Settings, base::NewTopicsControl, "Neue Themen m. farb. Schrift (index)"},
    {"#Cnf_WinData2Pref", P::Settings, base::WindowGeometryControl, "Fensterpos. u. größe mitspeichern"},
    {"#Cnf_Frame2", P::Settings, base::ProgramFrameControl, "Programm-Einstellungen ..."},
    {"#DbA_Frame1", P::DatabaseInfo, base::LibraryFrameControl, "Datenbank & Library ..."},
    {"#DbA_LabelDb", P::DatabaseInfo, base::InfoDatabaseLabelControl, "Datenbank (xml):"},
    {"#DbA_LabelCont", P::DatabaseInfo, base::ContentLabelControl, "Inhalt:"},
    {"#DbA_LabelLib", P::DatabaseInfo, base::InfoLibraryLabelControl, "Library (Hauptordner):"},
    {"#DbA_LabelTop", P::DatabaseInfo, base::TopicsLabelControl, "Themen:"},
    {"#DbA_LabelEnt", P::DatabaseInfo, base::EntriesLabelControl, "Einträge:"},
    {"#DbA_Frame2", P::DatabaseInfo, base::FileFrameControl, "Gewählte Datei ..."},
    {"#DbA_LabelFile", P::DatabaseInfo, base::FileLabelControl, "Datei (+ Unterordner):"},
    {"#DbA_LabelSrcForm", P::DatabaseInfo, base::CodeFormatLabelControl, "Code-Format:"},
    {"#DbA_LabelExeForm", P::DatabaseInfo, base::ExecutableFormatLabelControl, "Executable-Format:"},
    {"#Upt_LabelAppGtk2", P::Update, base::ProgramUpdateLabelControl, "App-Update gtk2 verfügbar? "},
    {"#Upt_LabelAppGtk3", P::Update, base::Gtk3UpdateLabelControl, "App-Update gtk3 verfügbar? "},
    {"#Upt_LabelXml", P::Update, base::LibraryUpdateLabelControl,
     "API-Update (Codes & Datenbank) verfügbar? "},
    {"#PuInf_AboutApp", P::InfoMenu, base::AboutProgramMenuItem, "Über Linux ZN-ZID-Idavode-Ruriva ..."},
    {"#PuInf_AboutDb", P::InfoMenu, base::AboutDatabaseMenuItem, "Über Datenbank ..."},
    {"#PuInf_IsUpdate", P::InfoMenu, base::UpdateCheckMenuItem, "Auf Updates prüfen ..."},
    {"#PuInf_OpnCode", P::InfoMenu, base::OpenCodeMenuItem, "Mit Standard-App öffnen"},
    {"#Find_Label", P::FindBar, base::FindLabelControl, "Suchen:"},
};

const std::vector<InterfaceText> tooltips = {
    {"#Cnf_DbShow", P::Settings, base::DatabasePathControl, "Pfad der Datenbank-Datei (xml)."},
    {"#Cnf_DbChoose", P::Settings, base::DatabaseChooserControl,
     "Dateiauswahl für die Datenbank-Datei (xml)"},
    {"#Cnf_LibShow", P::Settings, base::LibraryPathControl,
     "Hauptpfad (Hautordner) der Library. Kann leer bleiben falls identisch mit dem Viewer-Verzeichnis."},
    {"#Cnf_LibChoose", P::Settings, base::LibraryChooserControl,
     "Dateiauswahl für das Library-Hauptverzeichnis, falls nicht identisch mit Viewer-Verzeichnis."},
    {"#Cnf_Paths2Pref", P::Settings, base::KeepPathsControl,
     "Ausgewählt werden die Pfadeinstellungen bei 'Speichern' mitgesichert, anders kann temporät gearbeitet "
     "werden."},
    {"#Cnf_Apply", P::Settings, base::ApplyControl,
     "Übernimmt (temporär) die Pfade und lädt die Datenbank neu."},
    {"#Cnf_Language", P::Settings, base::LanguageListControl,
     "Wählt die Sprache für den Index und die Beschreibung. Fränzösich ist noch Englisch!"},
    {"#Cnf_Fontname", P::Settings, base::FontNameControl,
     "Aktuell gewählter Zeichensatz für den Code. Änderung über die Schaltfläche rechts."},
    {"#Cnf_FontChoose", P::Settings, base::FontButtonControl, "Öffnet die Zeichensatz-Auswahl."},
    {"#Cnf_SearchMode", P::Settings, base::SearchScopeListControl, "Wählt den Umfang des Suchmodus."},
    {"#Cnf_SearchFailHint", P::Settings, base::SearchHintListControl,
     "Wählt den Typ für Hinweise bei nicht (weiter) gefundenen Suchbegriffen."},
    {"#Cnf_FileNameLen", P::Settings, base::TitleContentListControl,
     "Wählt den Inhalt (Länge) der Fenster-Titelzeile."},
    {"#Cnf_CodeMarking", P::Settings, base::CodeMarkingListControl,
     "Wählt die Kennzeichnung für Schlüsselwörter. Reiner Text ist 'Aus'."},
    {"#Cnf_DyeNews", P::Settings, base::NewTopicsControl,
     "Blue Index-Schrift für neue Themen. Ausschalten falls bei dunklen Hintergründen nicht mehr lesbar."},
    {"#Cnf_WinData2Pref", P::Settings, base::WindowGeometryControl,
     "Ausgewählt werden immer die letzte Fensterposition und -größe sowie die Splitterposition gespeichert."},
    {"#Cnf_Cancel", P::Settings, base::CancelControl, "Schließt ohne Übernahme der Änderungen."},
    {"#Cnf_OkSave", P::Settings, base::SaveControl,
     "Übernimmt und speichert die Einstellungen in der *.ini-Datei."},
    {"#DbA_ToDb", P::DatabaseInfo, base::FolderIconControl,
     "Klick öffnet den Dateimanager mit dem Library-Pfad."},
    {"#DbA_CopyFile", P::DatabaseInfo, base::CopyIconControl, "Klick kopiert den Code-Pfad ins Clipboard."},
    {"#Main_NodeToggle", P::Main, base::NodeToggleControl, "Öffnet und schließt alle Knoten."},
    {"#Main_FindNext", P::Main, base::FindButtonControl,
     "[F3] Sucht nächsten Eintrag (auch [Return] bei Cursor im Eingabefeld."},
    {"#Main_Find", P::Main, base::SearchFieldControl,
     "Ausdruck suchen im Index (& Beschreibung) in der akt. Sprache (oder alle). Siehe Settings."},
    {"#Main_CbHistory", P::Main, base::HistoryListControl, "Liste aller zuletzt gewählten Code-Dateien."},
    {"#Main_Quickcopy", P::Main, base::CopyButtonControl,
     "Kopiert den kompletten Code in die Zwischenablage. Auch Drag&Drop von Indexeinträgen nach ZN möglich!"},
    {"#Main_Setting", P::Main, base::SettingsButtonControl,
     "Programmeinstellungen & Requester für die Datenbank (xml) und das Library-Oberverzeichnis."},
    {"#Main_Help", P::Main, base::HelpButtonControl, "Öffnet die Programm-Hilfe-Datei im Editor."},
    {"#Main_Info", P::Main, base::InfoButtonControl, "Öffnet den Programm-Info-Dialog."},
    {"#Main_EdDescript", P::Main, base::DescriptionControl, "Zeigt eine kurze Beschreibung der Funktion."},
    {"#Find_Field", P::FindBar, base::FindFieldControl,
     "Sucht im angezeigten Code, Groß- und Kleinschreibung gleich. [Return] nächste, [Umschalt+Return] "
     "vorige Fundstelle, [Escape] schließt."},
    {"#Find_Previous", P::FindBar, base::FindPreviousControl, "Vorige Fundstelle [Umschalt+Return]"},
    {"#Find_Next", P::FindBar, base::FindNextControl, "Nächste Fundstelle [Return]"},
    {"#Find_Close", P::FindBar, base::FindCloseControl, "Schließt die Suchleiste [Escape]"},
};

const std::vector<MessageTextEntry> messages = {
    {"#Upt_FailCurl", "Prüfung fehlgeschlagen: die Bibliothek libcurl fehlt."},
    {"#Upt_FailTimeout", "Prüfung fehlgeschlagen: keine Antwort innerhalb von 10 Sekunden."},
    {"#Upt_FailServer", "Prüfung fehlgeschlagen: Server nicht gefunden oder Verbindung abgelehnt."},
    {"#Upt_FailSize", "Prüfung fehlgeschlagen: die Antwort ist zu groß."},
    {"#Upt_FailTransfer", "Prüfung fehlgeschlagen: die Übertragung brach ab."},
    {"#Upt_FailNoFile", "Prüfung fehlgeschlagen: die Antwort ist keine Versionsdatei."},
    {"#Msg_NoStart", "Das Programm '%s' kann nicht gestartet werden."},
    {"#Code_Title", "Im Code suchen"},
    {"#Code_Topics", "{n} Thema\t{n} Themen"},
    {"#Code_Lines", "{n} Zeile\t{n} Zeilen"},
    {"#Code_More", "nur die ersten {n} Themen sind aufgeführt"},
    {"#Code_Reading", "Lese Code: {n} von {total} Dateien"},
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
const std::vector<MessageTextEntry>& messageTexts() { return messages; }

std::string builtInText(TextPlace place, int widget) { return findGerman(texts, place, widget); }
std::string builtInTooltip(TextPlace place, int widget) { return findGerman(tooltips, place, widget); }

}  // namespace config
