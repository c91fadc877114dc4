// The two tables of interface texts: key, window, widget and built-in German text.
#include "config/interface_texts.h"

namespace config {
namespace {

using P = TextPlace;

const std::vector<InterfaceText> texts = {
    {"#Cnf_LabelDB", P::Settings, 17, "Datenbank-Pfad (*.xml):"},
    {"#Cnf_LabelLib", P::Settings, 18, "Library-Pfad (Hauptordner über ButtonGadget, CalenderGadget,...):"},
    {"#Cnf_Paths2Pref", P::Settings, 23, "Speichert Pfade mit 'Speichern'"},
    {"#Cnf_Frame1", P::Settings, 41, "Pfade (Datenbank) temporär oder dauerhaft ändern ..."},
    {"#Cnf_LangLabel", P::Settings, 25, "Sprache"},
    {"#Cnf_Language", P::Settings, 26, "German\tEnglish\tFrench"},
    {"#Cnf_LangFont", P::Settings, 27, "Zeichensatz für Dateianzeige"},
    {"#Cnf_FontChoose", P::Settings, 30, "Zeichensatz ändern"},
    {"#Cnf_LabelSearch", P::Settings, 31, "Suche in"},
    {"#Cnf_SearchMode", P::Settings, 32,
     "Index + Beschreibung (akt. Sprache)\tNur Index (akt. Sprache)\tIndex + Beschreibung (alle Sprachen)"},
    {"#Cnf_LabelHint", P::Settings, 33, "'Nicht gefunden' Hinweis"},
    {"#Cnf_SearchFailHint", P::Settings, 34, "Beide Effekte\tFenster-'shake'\tSuchfeld blinkt"},
    {"#Cnf_LabelTitle", P::Settings, 35, "Fenstertitel-Inhalt"},
    {"#Cnf_FileNameLen", P::Settings, 36, "Nur Dateiname\tUnterordner & Dateiname\tVoller Pfad & Dateiname"},
    {"#Cnf_LabelMark", P::Settings, 37, "Editor Code-Hervorhebung"},
    {"#Cnf_CodeMarking", P::Settings, 38, "Reiner Text\tFett, graue Kommentare\tBlau+Fett, graue Kommentare"},
    {"#Cnf_DyeNews", P::Settings, 39, "Neue Themen m. farb. Schrift (index)"},
    {"#Cnf_WinData2Pref", P::Settings, 40, "Fensterpos. u. größe mitspeichern"},
    {"#Cnf_Frame2", P::Settings, 42, "Programm-Einstellungen ..."},
    {"#DbA_Frame1", P::DatabaseInfo, 61, "Datenbank & Library ..."},
    {"#DbA_LabelDb", P::DatabaseInfo, 45, "Datenbank (xml):"},
    {"#DbA_LabelCont", P::DatabaseInfo, 47, "Inhalt:"},
    {"#DbA_LabelLib", P::DatabaseInfo, 49, "Library (Hauptordner):"},
    {"#DbA_LabelTop", P::DatabaseInfo, 57, "Themen:"},
    {"#DbA_LabelEnt", P::DatabaseInfo, 59, "Einträge:"},
    {"#DbA_Frame2", P::DatabaseInfo, 62, "Gewählte Datei ..."},
    {"#DbA_LabelFile", P::DatabaseInfo, 51, "Datei (+ Unterordner):"},
    {"#DbA_LabelSrcForm", P::DatabaseInfo, 53, "Code-Format:"},
    {"#DbA_LabelExeForm", P::DatabaseInfo, 55, "Executable-Format:"},
    {"#Upt_LabelAppGtk2", P::Update, 65, "App-Update gtk2 verfügbar? "},
    {"#Upt_LabelAppGtk3", P::Update, 66, "App-Update gtk3 verfügbar? "},
    {"#Upt_LabelXml", P::Update, 67, "API-Update (Codes & Datenbank) verfügbar? "},
    {"#PuInf_AboutApp", P::InfoMenu, 9, "Über Linux ZN-ZID-Idavode-Ruriva ..."},
    {"#PuInf_AboutDb", P::InfoMenu, 10, "Über Datenbank ..."},
    {"#PuInf_IsUpdate", P::InfoMenu, 11, "Auf Updates prüfen ..."},
    {"#PuInf_OpnCode", P::InfoMenu, 12, "Mit Standard-App öffnen"},
};

const std::vector<InterfaceText> tooltips = {
    {"#Cnf_DbShow", P::Settings, 19, "Pfad der Datenbank-Datei (xml)."},
    {"#Cnf_DbChoose", P::Settings, 20, "Dateiauswahl für die Datenbank-Datei (xml)"},
    {"#Cnf_LibShow", P::Settings, 21,
     "Hauptpfad (Hautordner) der Library. Kann leer bleiben falls identisch mit dem Viewer-Verzeichnis."},
    {"#Cnf_LibChoose", P::Settings, 22,
     "Dateiauswahl für das Library-Hauptverzeichnis, falls nicht identisch mit Viewer-Verzeichnis."},
    {"#Cnf_Paths2Pref", P::Settings, 23,
     "Ausgewählt werden die Pfadeinstellungen bei 'Speichern' mitgesichert, anders kann temporät gearbeitet "
     "werden."},
    {"#Cnf_Apply", P::Settings, 24, "Übernimmt (temporär) die Pfade und lädt die Datenbank neu."},
    {"#Cnf_Language", P::Settings, 26,
     "Wählt die Sprache für den Index und die Beschreibung. Fränzösich ist noch Englisch!"},
    {"#Cnf_Fontname", P::Settings, 28,
     "Aktuell gewählter Zeichensatz für den Code. Änderung über die Schaltfläche rechts."},
    {"#Cnf_FontChoose", P::Settings, 30, "Öffnet die Zeichensatz-Auswahl."},
    {"#Cnf_SearchMode", P::Settings, 32, "Wählt den Umfang des Suchmodus."},
    {"#Cnf_SearchFailHint", P::Settings, 34,
     "Wählt den Typ für Hinweise bei nicht (weiter) gefundenen Suchbegriffen."},
    {"#Cnf_FileNameLen", P::Settings, 36, "Wählt den Inhalt (Länge) der Fenster-Titelzeile."},
    {"#Cnf_CodeMarking", P::Settings, 38,
     "Wählt die Kennzeichnung für Schlüsselwörter. Reiner Text ist 'Aus'."},
    {"#Cnf_DyeNews", P::Settings, 39,
     "Blue Index-Schrift für neue Themen. Ausschalten falls bei dunklen Hintergründen nicht mehr lesbar."},
    {"#Cnf_WinData2Pref", P::Settings, 40,
     "Ausgewählt werden immer die letzte Fensterposition und -größe sowie die Splitterposition gespeichert."},
    {"#Cnf_Cancel", P::Settings, 43, "Schließt ohne Übernahme der Änderungen."},
    {"#Cnf_OkSave", P::Settings, 44, "Übernimmt und speichert die Einstellungen in der *.ini-Datei."},
    {"#DbA_ToDb", P::DatabaseInfo, 63, "Klick öffnet den Dateimanager mit dem Library-Pfad."},
    {"#DbA_CopyFile", P::DatabaseInfo, 64, "Klick kopiert den Code-Pfad ins Clipboard."},
    {"#Main_NodeToggle", P::Main, 0, "Öffnet und schließt alle Knoten."},
    {"#Main_FindNext", P::Main, 5, "[F3] Sucht nächsten Eintrag (auch [Return] bei Cursor im Eingabefeld."},
    {"#Main_Find", P::Main, 6,
     "Ausdruck suchen im Index (& Beschreibung) in der akt. Sprache (oder alle). Siehe Settings."},
    {"#Main_CbHistory", P::Main, 16, "Liste aller zuletzt gewählten Code-Dateien."},
    {"#Main_Quickcopy", P::Main, 15,
     "Kopiert den kompletten Code in die Zwischenablage. Auch Drag&Drop von Indexeinträgen nach ZN möglich!"},
    {"#Main_Setting", P::Main, 7,
     "Programmeinstellungen & Requester für die Datenbank (xml) und das Library-Oberverzeichnis."},
    {"#Main_Help", P::Main, 8, "Öffnet die Programm-Hilfe-Datei im Editor."},
    {"#Main_Info", P::Main, 9, "Öffnet den Programm-Info-Dialog."},
    {"#Main_EdDescript", P::Main, 13, "Zeigt eine kurze Beschreibung der Funktion."},
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

std::string builtInText(TextPlace place, int widget) { return findGerman(texts, place, widget); }
std::string builtInTooltip(TextPlace place, int widget) { return findGerman(tooltips, place, widget); }

}  // namespace config
