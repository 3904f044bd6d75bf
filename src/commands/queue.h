#pragma once
// Attribute nodes and first-in, first-out queues of them. Both are value types: a variable is an
// empty node or queue from the start and frees what it holds when it goes out of scope; the
// commands below are what handlers call on them.

#include "commands/value.h"
#include "platform/types.h"

#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

namespace glyvora {

// The last error of the node and queue commands (0 after a command that succeeded).
enum class NodeError : std::int32_t {
    None = 0,
    TypeNotAllowed = 103,    // an attribute value that is not boolean, date-time, text, byte set or number
    QueueEmpty = 107,        // nothing to pop
    MissingNodeOrName = 200, // a released node, an empty name, or no attribute of that name
};
NodeError LastNodeError();

// A bag of named attributes, each a boolean, date-time, text, byte set or number (numbers of every
// type are kept as a double). Names compare exactly.
class Node {
public:
    // False once released, until made again.
    bool exists() const { return exists_; }
    std::size_t attributeCount() const { return attributes_.size(); }
    // Null when there is no attribute of that name.
    const Value* attribute(std::string_view name) const;

private:
    struct Attribute {
        Text name;
        Value value;
    };
    Value* findAttribute(std::string_view name);

    bool exists_ = true;
    std::vector<Attribute> attributes_;

    friend void NodeCreate(Node&);
    friend void NodeRelease(Node&);
    friend bool AddAttr(Node&, const Text&, const Value&);
    friend bool ModifyAttr(Node&, const Text&, const Value&);
};

class Queue {
public:
    std::size_t size() const { return nodes_.size(); }

private:
    std::deque<Node> nodes_;

    friend void QueueCreate(Queue&);
    friend void QueueRelease(Queue&);
    friend bool QueuePush(Queue&, const Node&);
    friend bool QueuePop(Queue&, Node&);
};

// Makes the variable an empty node, freeing what it held.
void NodeCreate(Node& node);
// Frees the node and its attributes; the variable holds no node until made again.
void NodeRelease(Node& node);

// Adds the attribute (an attribute of the same name takes the new value). False with 200 for a
// released node or an empty name, 103 for a value of another type.
bool AddAttr(Node& node, const Text& name, const Value& value);
// Replaces the attribute's value: the same rules, and 200 when there is no attribute of that name.
bool ModifyAttr(Node& node, const Text& name, const Value& value);
// Copies the attribute's text into the variable. False, the variable untouched, with 200 for a
// released node, an empty name or a missing attribute, 103 for an attribute that is not a text.
bool GetTextValue(const Node& node, const Text& name, Text& variable);

// Makes the variable an empty queue, freeing the nodes it held.
void QueueCreate(Queue& queue);
// Frees every node in the queue; the queue is empty afterwards.
void QueueRelease(Queue& queue);
bool QueueIsEmpty(const Queue& queue);
// Appends a copy of the node at the tail; false (200) for a released node.
bool QueuePush(Queue& queue, const Node& node);
// Frees the variable's node and moves the head node into it. False (107) on an empty queue, the
// variable then untouched.
bool QueuePop(Queue& queue, Node& variable);

} // namespace glyvora
