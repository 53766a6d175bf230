#pragma once
// Command ids, menu texts and messages of the list-editing commands, in one place.
// The texts are the program's own German strings and stand exactly as shown to the user.

namespace EditText {
// Menu texts ("\t" separates the shortcut text shown in the menu).
inline constexpr char SelectAll[] = "Alles markieren\tStrg+A";
inline constexpr char Copy[] = "&Kopieren\tStrg+C";
inline constexpr char Cut[] = "&Ausschneiden\tStrg+X";
inline constexpr char Paste[] = "E&infügen\tStrg+V";
inline constexpr char Replace[] = "Erset&zen...\tStrg+H";
inline constexpr char Find[] = "Suchen\tStrg+F";
inline constexpr char Undo[] = "&Rückgängig\tStrg+Z";
inline constexpr char Redo[] = "&Wiederholen\tStrg+Y";
inline constexpr char Print[] = "&Drucken...\tStrg+P";
inline constexpr char PrintPreview[] = "Sei&tenansicht";
inline constexpr char PrintSetup[] = "Drucker&einrichtung...";

// Clipboard.
inline constexpr char NothingCopied[] = "Keine Elemente in die Zwischenablage übertragen !";
inline constexpr char NullProgram[] = "Datenpointer steht auf NULL!";
inline constexpr char NullProgramCaption[] = "Error";
inline constexpr char CopyFailed[] = "Fehler beim Kopieren in die Zwischenablage aufgetreten !";

// Search and replace.
inline constexpr char ReplaceCaption[] = "Suchen und Ersetzen";
inline constexpr char ReplacedCount[] = "%1 Texte wurden ersetzt";
inline constexpr char NoMatch[] = "Keine Übereinstimmung gefunden";
inline constexpr char BadParameters[] = "Fehler bei der Übergabe der Parameter";

// Printing.
inline constexpr char PrintHeader[] = "SVL-Programmliste";
inline constexpr char PrintRefusedPrepare[] =
    "Exception: Drucken nur möglich wenn nicht in Kategoriemodus!";
inline constexpr char PrintRefusedPrint[] = "Exception: Drucken nur wenn nicht in Kategoriemodus!";
inline constexpr char PageNumber[] = "Seite %1 von %2";

// Undo stack entries (shown nowhere but in the stack's own view).
inline constexpr char UndoCut[] = "Ausschneiden";
inline constexpr char UndoPaste[] = "Einfügen";
inline constexpr char UndoDelete[] = "Löschen";
inline constexpr char UndoReplace[] = "Ersetzen";
inline constexpr char UndoEdit[] = "Programm bearbeiten";
inline constexpr char UndoInsert[] = "Programme einfügen";
inline constexpr char UndoMove[] = "Verschieben";

// Reordering (menu "&Bearbeiten").
inline constexpr char MoveUp[] = "Nach oben\tAlt+Pfeil oben";
inline constexpr char MoveDown[] = "Nach unten\tAlt+Pfeil unten";
inline constexpr char MoveToTop[] = "An den Anfang";
inline constexpr char MoveToEnd[] = "Ans Ende";
inline constexpr char SortBy[] = "Sortieren nach";
inline constexpr char SortDescendingBy[] = "Absteigend sortieren nach";
inline constexpr char UndoSort[] = "Sortieren";
inline constexpr char Duplicates[] = "Doppelte Programme markieren";
inline constexpr char DuplicatesCaption[] = "Doppelte Programme";
inline constexpr char NoDuplicates[] = "Keine doppelten Programme gefunden.";
inline constexpr char ReorderRefused[] =
    "Exception: Reihenfolge ändern nur möglich wenn nicht in Kategoriemodus!";
inline constexpr char ApplyReference[] = "Reihenfolge übernehmen...";
inline constexpr char ReferenceCaption[] = "Reihenfolge übernehmen";
inline constexpr char ReferenceFilter[] = "SVL Senderliste (*.svl);;Alle Dateien (*)";
inline constexpr char ReferenceSummary[] =
    "%1 Programme nach der Referenzliste geordnet, %2 ohne Gegenstück dahinter.";
inline constexpr char ReferenceUnreadable[] =
    "Die Referenzliste \"%1\" kann nicht geladen werden:\n%2";

// Application title, the caption of boxes that have none of their own.
inline constexpr char AppTitle[] = "SVL_Editor";
}  // namespace EditText
