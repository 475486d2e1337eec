#pragma once

// The names of the screen figures, as the probes print them and the runner
// finds them again to give them a branch office's targets.
namespace FigureName {

inline constexpr char Stage0[] = "frmStage0 created and filled";
inline constexpr char Search[] = "\"Поиск\", big customer";
inline constexpr char Reopen[] = "reopen from Combo2 until frmFinish shown";
inline constexpr char Back[] = "\"Назад\" from the results until frmStage4 shown";
inline constexpr char Calculate[] = "\"Расчет\" until frmFinish shown";
inline constexpr char Pdf[] = "report rendered to PDF";
inline constexpr char ProductList[] = "Rimehold list of a group of 2000 products";
inline constexpr char CapacityGrid[] = "Rimehold capacity grid opened";
inline constexpr char Start[] = "frostpick start to first screen";

} // namespace FigureName
