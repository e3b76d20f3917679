#pragma once

#include <lumetto/Global.h>
#include <lumetto/HtmlError.h>

#include <QObject>
#include <QString>

#include <memory>

class QAbstractItemModel;

/// \file HtmlDataMapper.h
/// \brief Shows the records of an item model in an HtmlView, through an HTML template.

namespace lumetto {

class HtmlView;

namespace engine {
class HtmlDataMapperPrivate;
}

/// Binds the rows of a model to an HtmlView, in the way QDataWidgetMapper binds them to widgets.
/// The view shows a template, ordinary HTML written into its body, whose marks name the
/// model's columns by their header text (`model->headerData(column, Qt::Horizontal)`), or by
/// their number as `#` and the number (`#0` is the first column; a header that itself reads
/// so is named by its number), which holds when the headers are display text:
/// - `data-column="Name"`: the element shows the column's value as text; a form field (`input`,
///   `textarea`, `select`) shows it as its value, and the user edits it there; the model is
///   handed the text in the type it holds where the text converts to it (a number, an ISO date),
///   as a view's editor hands it over, else as text. A checkbox or
///   radio button is bound by its checked state: checked for true or a number other than 0, and
///   a click hands the model true or false, or 1 or 0 where it holds a number (a radio button
///   checked hands false for the bound ones of its group it unchecked). A cell whose flags()
///   lack Qt::ItemIsEditable makes its field read-only (`readonly`, or `disabled` for a
///   checkbox, radio button or `select`);
/// - `data-column-<attribute>="Name"`: the attribute takes the value. A BLOB (QByteArray) bound
///   to an image's `src` is shown as the PNG, JPEG, GIF or WebP image it holds; a text value is
///   a file name below the view's base location. Event handler attributes (`on...`) are never set;
/// - `data-repeat`: the element is repeated for each row; the marks inside show that row. A
///   click in a repeated row makes it the current row, whose element has the attribute
///   `data-current` (for the template's style rules). Marks outside show the current row.
///
/// A field whose value the model refused, or could not store, has the attribute `data-refused`
/// (for the template's style rules, `input[data-refused] { ... }`) until the user changes it,
/// or the value is stored (submit()) or dropped (revert()).
///
/// Values are shown as text, never as markup, as Qt's views show them: elements and attributes
/// show the Qt::DisplayRole data (numbers and dates in the view's locale, as
/// QStyledItemDelegate::displayText() writes them), form fields the Qt::EditRole data
/// (`QVariant::toString()`), so that a model or a proxy model formats what is shown.
/// NULL shows as empty text or no attribute, and a BLOB outside an image as empty text. The page
/// follows the model's changes in place, without a reload, and comes back from the model after
/// its page process ended. A view shows one mapper's template at a time: a new body (its own or
/// another mapper's template) ends the binding. A template runs no script: setTemplateHtml()
/// names each `<script>` and event handler attribute it holds in a warning on Qt's log.
///
/// A repeated element shows every row of the model, however many, windowed as QTableView shows
/// them: the page holds only the rows near its viewport (or near that of the element the list
/// scrolls in), a viewport's height either way, and two spacers stand in for the others, sized
/// from the mean height of the rows held, so that the scroll bar spans the whole list. Rows may
/// differ in height; the template may be any HTML. As the user scrolls (wheel, scroll bar, keys),
/// the page asks for the rows it wants. The mapper fetches more from the model (`canFetchMore()`,
/// `fetchMore()`, as a QSqlTableModel needs after `select()`) as the wheel or the keys near the
/// end of what it has, and to its end when the user goes to the end (End, the scroll bar's thumb
/// taken to the bottom); toLast() and setCurrentIndex() fetch what they need, and the moves
/// scroll the row into view. So the page's cost follows the screen, not the model. What works on
/// the page's content works on the rows it holds only: a selection, the page's find, a copy and
/// what a screen reader reads cover the rows held, not the whole list. An entry in a repeated
/// row reaches the row it was made in, whatever rows the model inserted, removed, moved or
/// sorted meanwhile; what the user entered in a row's fields that name no column is kept with
/// the row, and shows again when the row comes back into the window and after the page process
/// ended.
///
/// \code
/// auto* mapper = new lumetto::HtmlDataMapper(this);
/// mapper->setView(view);
/// mapper->setModel(model);
/// mapper->setTemplateHtml("<h1 data-column='Name'></h1><input data-column='Price'>");
/// \endcode
///
/// A mapper is used in the GUI thread only, as its view is.
class LUMETTO_CONTROL_EXPORT HtmlDataMapper : public QObject {
    Q_OBJECT
    /// The row shown by the marks outside repeated elements; -1 when the model has no rows.
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentIndexChanged)
    /// When the user's edits reach the model.
    Q_PROPERTY(SubmitPolicy submitPolicy READ submitPolicy WRITE setSubmitPolicy NOTIFY submitPolicyChanged)
    /// Whether a text field the user empties hands the model NULL rather than empty text, where
    /// the column takes NULL (not for a QSqlTableModel column declared NOT NULL); false by default.
    Q_PROPERTY(bool emptyIsNull READ emptyIsNull WRITE setEmptyIsNull NOTIFY emptyIsNullChanged)

public:
    /// When the user's edits in bound form fields reach the model.
    enum SubmitPolicy {
        /// when the user leaves the field, presses Enter in it, or clicks a checkbox or radio
        /// button, as QDataWidgetMapper commits an editor's data; what is typed until then stays
        /// in the field, and submit() hands it too
        AutoSubmit,
        ManualSubmit,  ///< at submit(); revert() drops them
    };
    Q_ENUM(SubmitPolicy)

    /// A mapper with no view and no model, child of parent.
    explicit HtmlDataMapper(QObject* parent = nullptr);
    ~HtmlDataMapper() override;

    /// Makes view the one the mapper shows its template in; null for none. The binding in the
    /// view before ends: that view keeps what it shows, no longer following the model, and
    /// templateHtml() is empty until setTemplateHtml() binds a template in the new view. The
    /// model stays. A view that is destroyed is let go of as setView(nullptr) does.
    void setView(HtmlView* view);
    HtmlView* view() const;  ///< The view the mapper shows its template in, or null.

    /// Binds the template to model, followed until it is destroyed; the first row becomes
    /// current. Fails (HtmlError::NoSuchColumn, naming it) when the template names a column
    /// the model lacks, and (HtmlError::PageFailed) when the mapper has no view; the mapper
    /// then stays as it was.
    void setModel(QAbstractItemModel* model, HtmlError* error = nullptr);
    QAbstractItemModel* model() const;  ///< The model bound, or null.
    /// Writes html into the view's body and binds its marks. Fails (HtmlError::NoSuchColumn,
    /// naming it) when it names a column the model lacks, and (HtmlError::PageFailed) when the
    /// mapper has no view; then nothing is written or bound.
    void setTemplateHtml(const QString& html, HtmlError* error = nullptr);
    QString templateHtml() const;  ///< The template bound; empty once the binding has ended.

    int currentIndex() const;  ///< \copybrief currentIndex
    SubmitPolicy submitPolicy() const;  ///< \copybrief submitPolicy
    void setSubmitPolicy(SubmitPolicy policy);  ///< Sets #submitPolicy; edits not yet submitted stay.
    bool emptyIsNull() const;  ///< \copybrief emptyIsNull
    void setEmptyIsNull(bool null);  ///< Sets #emptyIsNull.

    /// Hands the edits not yet submitted to the model, then has the model store them (the
    /// `submitAll()` slot of a QSqlTableModel, else `QAbstractItemModel::submit()`). False when
    /// the model refused a value or could not store the changes, each reported by editRefused().
    /// A value the model refused is taken back: the field shows the model's value. Changes it
    /// could not store (a constraint, a locked or read-only database; the model's own error
    /// tells which) stay in the model and in the fields, for a later submit(); a cell a
    /// QSqlTableModel stored before, as its edit strategy has it, is not reported.
    bool submit();
    /// Drops the edits not yet submitted, and has the model drop those handed to it that it has
    /// not stored (the `revertAll()` slot of a QSqlTableModel, else QAbstractItemModel::revert());
    /// the fields show the model's values again.
    void revert();

public slots:
    /// Makes row current, fetching from the model up to it, and scrolls it into view in the
    /// repeated elements; a row the model lacks once fetched is ignored.
    void setCurrentIndex(int row);
    void toFirst();  ///< Makes the first row current.
    void toPrevious();  ///< Makes the row before the current one current.
    void toNext();  ///< Makes the row after the current one current.
    void toLast();  ///< Makes the last row current, the model fetched to its end.

signals:
    void currentIndexChanged(int row);  ///< #currentIndex changed.
    void submitPolicyChanged(lumetto::HtmlDataMapper::SubmitPolicy policy);  ///< #submitPolicy changed.
    void emptyIsNullChanged(bool null);  ///< #emptyIsNull changed.
    /// The model refused the user's value for column of row, or could not store it (see
    /// submit()); column as the template names it.
    void editRefused(int row, const QString& column, const QString& reason);

private:
    std::unique_ptr<engine::HtmlDataMapperPrivate> d;
};

}  // namespace lumetto
