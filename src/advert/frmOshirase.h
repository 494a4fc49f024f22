#pragma once
#include "core/VbForm.h"

#include <QUrl>
#include <cstdint>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

// The first-run window: a picture that opens the author's page.
class frmOshirase : public VbForm {
    Q_OBJECT
  public:
    frmOshirase();

    // Opens a page in the browser; false when it could not. Tests replace it.
    using PageOpener = std::function<bool(const QUrl&)>;
    static PageOpener SetPageOpener(PageOpener opener);

    QLabel* Label1;        // the request to visit the page
    QGroupBox* Frame1;     // ホームページ
    QLabel* Image1;        // the picture; the link
    QLabel* Label2;        // the advertising text
    QLabel* Label3;        // hover remarks
    QLabel* Label4;        // shown on the first start only
    QPushButton* Command1; // 閉じる(&A)

    std::uint8_t ImageClicked = 0;

    void Image1_Click();

  protected:
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void MoveImage(double left, double top);
};
