// The fixed data of the highlighter: its text tags, the keyword table and the link marker.
#include "viewer/highlight_tables.h"

namespace viewer {

const std::array<HighlightTagStyle, HighlightTagCount> highlightTagStyles = {{
    {"BlueBold", 700, "#0000DC"},
    {"FBold", 700, nullptr},
    {"Constant", 400, "#007F00"},
    {"Function", 700, "#0074A2"},
    {"FuncCall", 400, "#0074A2"},
    {"Literal", 400, "#FF0000"},
    {"Disable", 0, "#808080"},
}};

// clang-format off
const std::array<const char*, keywordCount> keywordTable = {
    "And", "Array", "As", "Break", "CallDebugger", "Case", "CompilerCase", "CompilerDefault", "CompilerElse",
    "CompilerElseIf", "CompilerEndIf", "CompilerEndSelect", "CompilerError", "CompilerIf", "CompilerSelect",
    "Continue", "Data", "DataSection", "Debug", "DebugLevel", "Declare", "DeclareC", "DeclareCDLL",
    "DeclareDLL", "DeclareModule", "Default", "Define", "Dim", "DisableASM", "DisableDebugger",
    "DisableExplicit", "Else", "ElseIf", "EnableASM", "EnableDebugger", "EnableExplicit", "End",
    "EndDataSection", "EndDeclareModule", "EndEnumeration", "EndIf", "EndImport", "EndInterface", "EndMacro",
    "EndModule", "EndProcedure", "EndSelect", "EndStructure", "EndStructureUnion", "EndWith", "Enumeration",
    "EnumerationBinary", "Extends", "FakeReturn", "For", "ForEach", "ForEver", "Global", "Gosub", "Goto",
    "If", "Import", "ImportC", "IncludeBinary", "IncludeFile", "IncludePath", "Interface", "List", "Macro",
    "MacroExpandedCount", "Map", "Module", "NewList", "NewMap", "Next", "Not", "Or", "Procedure",
    "ProcedureC", "ProcedureCDLL", "ProcedureDLL", "ProcedureReturn", "Protected", "Prototype", "PrototypeC",
    "ReDim", "Read", "Repeat", "Restore", "Return", "Runtime", "Select", "Shared", "Static", "Step",
    "Structure", "StructureUnion", "Swap", "Threaded", "To", "UndefineMacro", "Until", "UnuseModule",
    "UseModule", "Wend", "While", "With", "XIncludeFile", "XOr"};
// clang-format on

const char* const declaringKeywords = "Procedure;ProcedureC;ProcedureCDLL;ProcedureDLL";

bool isDeclaringKeyword(const std::string& keyword) {
  return std::string(declaringKeywords).find(keyword) != std::string::npos;
}

const char* const topicLinkMarker = "; Link to topic:   ";

HighlightTag keywordTagFor(std::int64_t codeMarks) { return codeMarks == 2 ? BlueBoldTag : FBoldTag; }

}  // namespace viewer
