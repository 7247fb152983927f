#include "frontend/label_table.h"

#include "code/names.h"
#include "frontend/code_writer.h"
#include "state/machine.h"

namespace ostrac::frontend {

void LabelTable::add(Kind kind, std::int32_t position, std::string_view name,
                     std::string_view scope) {
    if (entries_.size() >= max_entries) session_.fatal_error("INTERNAL ERROR, SYMBOL STACK OVERFLOW");
    entries_.push_back({kind, position, std::string(name.substr(0, name_length)),
                        std::string(scope.substr(0, name_length))});
}

void LabelTable::add_reference(std::int32_t position, std::string_view name,
                               std::string_view scope) {
    add(Kind::Reference, position, name, scope);
}

void LabelTable::add_label(std::int32_t position, std::string_view name, std::string_view scope) {
    add(Kind::Label, position, name, scope);
}

void LabelTable::resolve(CodeWriter& code) const {
    for (const Entry& reference : entries_) {
        if (reference.kind != Kind::Reference) continue;
        const Entry* target = nullptr;
        for (const Entry& label : entries_) {
            if (label.kind == Kind::Label && code::names_equal(label.name, reference.name) &&
                code::names_equal(label.scope, reference.scope)) {
                target = &label;  // the last one recorded wins
            }
        }
        if (target == nullptr) session_.fatal_error("LABEL no encontrado");
        code.patch_int(reference.position,
                       target->position - reference.position - CodeWriter::jump_size);
    }
}

}  // namespace ostrac::frontend
