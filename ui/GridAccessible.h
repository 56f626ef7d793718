#pragma once
// What a screen reader is told about a statement grid: the table, its header cells named as the
// model names them for reading (row number and text), and its cells with their state — input
// cells editable, computed ones read-only. Qt's own table interface has no such state.

class QObject;
class QAccessibleInterface;
class QString;

namespace movik {

// Installed once; answers for every StatementGrid.
void InstallGridAccessibility();

}  // namespace movik
