#pragma once
// Tests set up workspace states that no single user operation makes (stale stored values, a
// typed text not yet validated, a document name) by reaching the workspace's state directly.

#include "document/Workspace.h"

namespace movik {

struct WorkspaceTestAccess {
    static TDokument& Document(Workspace& ws) { return ws.doc_; }
    static StatementGrids& Grids(Workspace& ws) { return ws.grids_; }
    static GeneralData& Fields(Workspace& ws) { return ws.fields_; }
};

}  // namespace movik
