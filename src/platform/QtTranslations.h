#pragma once

// Qt's own Japanese texts (standard dialogs, context menus): from Qt's
// translations folder, or from a "translations" folder beside the executable
// as windeployqt lays it out.
void LoadQtTranslations();
