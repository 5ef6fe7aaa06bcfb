#include "app/MenuIcons.h"

#include "res/resource.h"

const MenuIconTable& programMenuIcons() {
    static const MenuIconTable table{
        IDB_MENU_ICONS, {ID_OPTIONS, ID_HOME_PAGE, 0, ID_SEND_FEEDBACK, ID_ABOUT, 0, ID_CLOSE_APP}};
    return table;
}
