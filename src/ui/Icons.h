#pragma once

#include <QIcon>

// The program's pictures, by the indexes the windows use them with.
class Icons {
public:
    // Toolbar and actions: 0 import, 1 search, 2 delete, 3 remark, 4 export.
    static QIcon il(int index);
    // Tree: 0 disc, 1 selected disc, 2 root.
    static QIcon ilQl(int index);
    static QIcon program();
};
