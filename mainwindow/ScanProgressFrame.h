#pragma once
// The frame shown while folders are scanned: the count of songs found, the
// percentage read, and a bar over the text "Caricamento in corso..." that shows
// the text inverted where the bar covers it.

#include <QFrame>

class QLabel;
class QPushButton;

namespace sonivo {

class ProgressBox final : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBox(QWidget* parent = nullptr);
    // Redraws unless done is greater than found.
    void setProgress(qint64 found, qint64 done);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qint64 found_ = 0;
    qint64 done_ = 0;
};

class ScanProgressFrame final : public QFrame {
    Q_OBJECT
public:
    explicit ScanProgressFrame(QWidget* parent = nullptr);
    void showProgress(qint64 found, qint64 done);
    QString foundText() const;
    QString levelText() const;
    // "Annulla": stops the scan after the file being read.
    QPushButton* cancelButton() const { return cancel_; }

Q_SIGNALS:
    void cancelRequested();

private:
    QLabel* current_;
    QLabel* level_;
    ProgressBox* box_;
    QPushButton* cancel_;
};

}  // namespace sonivo
