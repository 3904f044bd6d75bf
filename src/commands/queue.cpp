#include "commands/queue.h"

#include <utility>

namespace glyvora {

namespace {

NodeError lastError = NodeError::None;

bool fail(NodeError error) {
    lastError = error;
    return false;
}

bool succeed() {
    lastError = NodeError::None;
    return true;
}

// The value an attribute keeps: numbers as a double; None for a type an attribute cannot hold.
Value attributeValue(const Value& value) {
    if (value.isNumber()) return Value(value.number());
    switch (value.type()) {
    case TypeCode::Boolean:
    case TypeCode::DateTime:
    case TypeCode::Text:
    case TypeCode::ByteSet:
        return value;
    default:
        return Value();
    }
}

} // namespace

NodeError LastNodeError() {
    return lastError;
}

const Value* Node::attribute(std::string_view name) const {
    for (const Attribute& a : attributes_)
        if (a.name == name) return &a.value;
    return nullptr;
}

Value* Node::findAttribute(std::string_view name) {
    return const_cast<Value*>(std::as_const(*this).attribute(name));
}

void NodeCreate(Node& node) {
    node.attributes_.clear();
    node.exists_ = true;
    lastError = NodeError::None;
}

void NodeRelease(Node& node) {
    node.attributes_.clear();
    node.exists_ = false;
    lastError = NodeError::None;
}

bool AddAttr(Node& node, const Text& name, const Value& value) {
    if (!node.exists_ || name.empty()) return fail(NodeError::MissingNodeOrName);
    Value kept = attributeValue(value);
    if (kept.omitted()) return fail(NodeError::TypeNotAllowed);
    if (Value* existing = node.findAttribute(name))
        *existing = std::move(kept);
    else
        node.attributes_.push_back({name, std::move(kept)});
    return succeed();
}

bool ModifyAttr(Node& node, const Text& name, const Value& value) {
    if (!node.exists_ || name.empty()) return fail(NodeError::MissingNodeOrName);
    Value kept = attributeValue(value);
    if (kept.omitted()) return fail(NodeError::TypeNotAllowed);
    Value* existing = node.findAttribute(name);
    if (!existing) return fail(NodeError::MissingNodeOrName);
    *existing = std::move(kept);
    return succeed();
}

bool GetTextValue(const Node& node, const Text& name, Text& variable) {
    if (!node.exists() || name.empty()) return fail(NodeError::MissingNodeOrName);
    const Value* value = node.attribute(name);
    if (!value) return fail(NodeError::MissingNodeOrName);
    if (!value->holds<Text>()) return fail(NodeError::TypeNotAllowed);
    variable = value->as<Text>();
    return succeed();
}

void QueueCreate(Queue& queue) {
    queue.nodes_.clear();
    lastError = NodeError::None;
}

void QueueRelease(Queue& queue) {
    queue.nodes_.clear();
    lastError = NodeError::None;
}

bool QueueIsEmpty(const Queue& queue) {
    return queue.size() == 0;
}

bool QueuePush(Queue& queue, const Node& node) {
    if (!node.exists()) return fail(NodeError::MissingNodeOrName);
    queue.nodes_.push_back(node);
    return succeed();
}

bool QueuePop(Queue& queue, Node& variable) {
    if (queue.nodes_.empty()) return fail(NodeError::QueueEmpty);
    variable = std::move(queue.nodes_.front());
    queue.nodes_.pop_front();
    return succeed();
}

} // namespace glyvora
